#pragma once

#include "choicelist.h"

// The hits of the last search, by their topics' titles; "&Ir a" opens one.
class TformaResulta : public TChoiceListForm {
    Q_OBJECT

public:
    TformaResulta();

    void FormActivate() override;
    void Button1Click() override;
};

extern TformaResulta *formaResulta;
