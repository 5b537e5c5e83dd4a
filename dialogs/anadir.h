#pragma once

#include "dialogform.h"

class TformaAnotaciones : public TDialogForm {
    Q_OBJECT

public:
    TformaAnotaciones();

    void FormCreate();
};

extern TformaAnotaciones *formaAnotaciones;
