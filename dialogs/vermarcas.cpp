#include "vermarcas.h"

TformaVerMarcas *formaVerMarcas = nullptr;

TformaVerMarcas::TformaVerMarcas() : TDialogForm(QStringLiteral("Seleccionar marcas del libro")) {}
