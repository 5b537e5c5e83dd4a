#pragma once

#include "dialogform.h"

class TformaBuscar : public TDialogForm {
    Q_OBJECT

public:
    TformaBuscar();
};

extern TformaBuscar *formaBuscar;
