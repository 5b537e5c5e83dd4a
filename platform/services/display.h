#pragma once

// The screen and its palette. Today's displays have no palette: palette
// selection and realisation do nothing harmful, and the reported depth is the
// screen's real one. The screen size can be fixed for tests.

#include <QSize>

class QImage;
class QWidget;

constexpr int PLANES = 14;
constexpr int BITSPIXEL = 12;

QSize ScreenSize();
namespace display {
// Test seam: an empty size restores the real screen's.
void setScreenSizeOverride(QSize size);
// Test seam: the bits per pixel GetDeviceCaps reports; 0 restores the screen's.
void setDepthOverride(int bitsPerPixel);
} // namespace display

int GetDeviceCaps(QWidget *window, int index);
// Select the palette of `bitmap` into the window's drawing context, and realise it.
void SelectPalette(QWidget *window, const QImage &bitmap, bool forceBackground);
unsigned RealizePalette(QWidget *window);
