#pragma once

// The borderless window videos play in (and, in LectorLinea, pictures show
// in). A click in it stops the video and hides it.

#include "forms.h"

class TImage;

class TFormaTelon : public TForm {
    Q_OBJECT

public:
    TFormaTelon();

    TImage *Image1 = nullptr;

    void FormClick();
    void Image1Click();
};

extern TFormaTelon *FormaTelon;
