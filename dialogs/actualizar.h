#pragma once

#include "dialogform.h"

class TformaActualizacion : public TDialogForm {
    Q_OBJECT

public:
    TformaActualizacion();
};

extern TformaActualizacion *formaActualizacion;
