#pragma once

#include "choicelist.h"

// The topics visited in this run, oldest first; "&Ir a" goes back to one
// without recording the jump as a new visit.
class TformaRecorrido : public TChoiceListForm {
    Q_OBJECT

public:
    TformaRecorrido();

    void FormActivate() override;
    void Button1Click() override;
};

extern TformaRecorrido *formaRecorrido;
