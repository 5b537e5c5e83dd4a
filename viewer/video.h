#pragma once

// The borderless window videos play in (and, in LectorLinea, pictures show
// in). A click in it stops the video and hides it. While shown it is a tool
// window of the viewer for the window system: it stays above the viewer, not
// above other programs. The application owns it, as it owns every form.

#include "forms.h"

class TImage;

class TFormaTelon : public TForm {
    Q_OBJECT

public:
    TFormaTelon();

    TImage *Image1 = nullptr;

    void FormClick();
    void Image1Click();

    void setVisible(bool visible) override;
};

extern TFormaTelon *FormaTelon;
