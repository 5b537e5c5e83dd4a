#pragma once

#include "dialogform.h"

class TformaResulta : public TDialogForm {
    Q_OBJECT

public:
    TformaResulta();
};

extern TformaResulta *formaResulta;
