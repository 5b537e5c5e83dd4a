#pragma once

// The full-screen picture viewer: a borderless, maximised, black window shown
// modally with one JPEG or BMP picture. A picture below 800 x 600 is drawn
// centred on the screen; a larger one from its top-left corner with scroll
// bars. A click closes it.

#include "ansi.h"
#include "forms.h"

#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;
class QScrollBar;

class TScrollbmp : public TForm {
    Q_OBJECT

public:
    TScrollbmp();

    AnsiString PictureFile; // set by the caller before each showing
    QImage PictureBitmap;   // the decoded picture; null for none
    QPoint ScrollOrigin;    // the picture pixel at the client area's top-left corner

    QScrollBar *HorzScrollBar = nullptr;
    QScrollBar *VertScrollBar = nullptr;

    void FormCreate();
    void FormActivate();
    void FormPaint();
    void FormClick();
    void FormDestroy();

    // The window less its visible scroll bars.
    QRect ClientRect() const;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void PaintPicture();
    void SetRanges(int horizontal, int vertical);
    void SetClientSize(int width, int height);
    void LayoutScrollBars();
    void ActivateOncePerShowing();

    int horzRange_ = 0;
    int vertRange_ = 0;
    bool activationPending_ = false;
    QPainter *canvas_ = nullptr; // set while a paint event draws
};

extern TScrollbmp *Scrollbmp;
