#include "scroll.h"

TScrollbmp *Scrollbmp = nullptr;

TScrollbmp::TScrollbmp() {
    setWindowFlag(Qt::FramelessWindowHint);
    OnCreate = [this] { FormCreate(); };
}

void TScrollbmp::FormCreate() {
    ScrollOrigin = QPoint(0, 0);
    PictureBitmap = QImage();
}
