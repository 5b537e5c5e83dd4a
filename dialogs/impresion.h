#pragma once

#include "dialogform.h"

class TformaImpresion : public TDialogForm {
    Q_OBJECT

public:
    TformaImpresion();
};

extern TformaImpresion *formaImpresion;
