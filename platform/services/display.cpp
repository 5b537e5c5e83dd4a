#include "display.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

namespace {
QSize &screenOverride() {
    static QSize size;
    return size;
}
int &depthOverride() {
    static int bits = 0;
    return bits;
}
} // namespace

namespace display {
void setScreenSizeOverride(QSize size) {
    screenOverride() = size;
}
void setDepthOverride(int bitsPerPixel) {
    depthOverride() = bitsPerPixel;
}
} // namespace display

QSize ScreenSize() {
    if (screenOverride().isValid())
        return screenOverride();
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(640, 480);
}

int GetDeviceCaps(QWidget *window, int index) {
    const QScreen *screen = window ? window->screen() : QGuiApplication::primaryScreen();
    switch (index) {
    case PLANES:
        return 1;
    case BITSPIXEL:
        if (depthOverride() > 0)
            return depthOverride();
        return screen ? screen->depth() : 24;
    default:
        return 0;
    }
}

void SelectPalette(QWidget *, const QImage &, bool) {}

unsigned RealizePalette(QWidget *) {
    return 0;
}
