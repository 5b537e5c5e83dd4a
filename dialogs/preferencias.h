#pragma once

#include "dialogform.h"

class TformaPreferencias : public TDialogForm {
    Q_OBJECT

public:
    TformaPreferencias();
};

extern TformaPreferencias *formaPreferencias;
