#include "actualizar.h"

TformaActualizacion *formaActualizacion = nullptr;

TformaActualizacion::TformaActualizacion() : TDialogForm(QStringLiteral("Actualizaciones")) {}
