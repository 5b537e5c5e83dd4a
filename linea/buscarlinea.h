#pragma once

// LectorLinea's search dialog: each chapter line shows its group's value;
// a chapter search still goes by the group's name.

#include "buscar.h"

class TformaBuscarLinea : public TformaBuscar {
    Q_OBJECT

protected:
    QString ChapterCaption(const TGrupoRec &group) const override;
};
