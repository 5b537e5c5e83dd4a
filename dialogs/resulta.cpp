#include "resulta.h"

TformaResulta *formaResulta = nullptr;

TformaResulta::TformaResulta() : TDialogForm(QStringLiteral("Resultados de la búsqueda")) {}
