#include "buscar.h"

TformaBuscar *formaBuscar = nullptr;

TformaBuscar::TformaBuscar() : TDialogForm(QStringLiteral("Buscar frases o palabras")) {}
