#include "recorrido.h"

TformaRecorrido *formaRecorrido = nullptr;

TformaRecorrido::TformaRecorrido() : TDialogForm(QStringLiteral("Recorrido")) {}
