#pragma once

// The full-screen picture viewer.

#include "ansi.h"
#include "forms.h"

#include <QImage>
#include <QPoint>

class TScrollbmp : public TForm {
    Q_OBJECT

public:
    TScrollbmp();

    AnsiString PictureFile;
    QImage PictureBitmap;
    QPoint ScrollOrigin;

    void FormCreate();
};

extern TScrollbmp *Scrollbmp;
