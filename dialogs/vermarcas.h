#pragma once

#include "dialogform.h"

class TformaVerMarcas : public TDialogForm {
    Q_OBJECT

public:
    TformaVerMarcas();
};

extern TformaVerMarcas *formaVerMarcas;
