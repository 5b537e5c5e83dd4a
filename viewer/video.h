#pragma once

// The borderless window videos play in.

#include "forms.h"

class TFormaTelon : public TForm {
    Q_OBJECT

public:
    TFormaTelon();
};

extern TFormaTelon *FormaTelon;
