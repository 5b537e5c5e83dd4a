#include "video.h"

TFormaTelon *FormaTelon = nullptr;

TFormaTelon::TFormaTelon() {
    setWindowTitle(QStringLiteral("FormaTelon"));
    setWindowFlag(Qt::FramelessWindowHint);
}
