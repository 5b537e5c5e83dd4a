#pragma once

#include "dialogform.h"

class TformaRecorrido : public TDialogForm {
    Q_OBJECT

public:
    TformaRecorrido();
};

extern TformaRecorrido *formaRecorrido;
