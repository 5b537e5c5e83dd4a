#pragma once

#include "dialogform.h"

class TformaMarcacion : public TDialogForm {
    Q_OBJECT

public:
    TformaMarcacion();

    void FormCreate();
};

extern TformaMarcacion *formaMarcacion;
