#pragma once

#include "dialogform.h"

class TformaCopiar : public TDialogForm {
    Q_OBJECT

public:
    TformaCopiar();
};

extern TformaCopiar *formaCopiar;
