#include "buscarlinea.h"

QString TformaBuscarLinea::ChapterCaption(const TGrupoRec &group) const {
    return ansi::toQt(group.Value);
}
