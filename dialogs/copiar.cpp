#include "copiar.h"

TformaCopiar *formaCopiar = nullptr;

TformaCopiar::TformaCopiar() : TDialogForm(QStringLiteral("Contenido del portapapeles")) {}
