#include "impresion.h"

TformaImpresion *formaImpresion = nullptr;

TformaImpresion::TformaImpresion() : TDialogForm(QStringLiteral("Marque páginas para imprimir")) {}
