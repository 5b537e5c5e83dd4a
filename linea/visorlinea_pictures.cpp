// LectorLinea's hotspot differences: every folder under StartDir but the BMP
// pictures' "Fotos\", which is relative to the current directory; no rule for
// other titles; no close after a launch; and pictures shown, centred and at
// their own size, in the video window, which stays open beside the viewer.

#include "visorlinea.h"

#include "clickcontrols.h"
#include "display.h"
#include "picture.h"
#include "video.h"

#include <QFrame>

namespace {

// A JPEG decoded for a palette display: 8 bits per pixel on the viewer's palette.
QImage onPalette(const QImage &image, const QImage &paletteBitmap) {
    const QList<QRgb> colours = paletteBitmap.colorTable();
    if (colours.isEmpty())
        return image.convertToFormat(QImage::Format_Indexed8);
    return image.convertToFormat(QImage::Format_Indexed8, colours);
}

// The picture fills the borderless window, centred on the screen (a picture
// larger than the screen starts left of or above it).
void putInPictureWindow(const QImage &picture) {
    const QSize screen = ScreenSize();
    const QSize size = picture.size();
    FormaTelon->Image1->setPicture(picture);
    FormaTelon->Image1->setGeometry(QRect(QPoint(0, 0), size));
    FormaTelon->setGeometry((screen.width() - size.width()) / 2,
                            (screen.height() - size.height()) / 2, size.width(), size.height());
}

void showPictureWindow() {
    FormaTelon->show();
    FormaTelon->BringToFront();
}

} // namespace

AnsiString TformaVisorLinea::DataDir() const {
    return StartDir;
}
bool TformaVisorLinea::ClosesAfterLaunch() const {
    return false;
}
bool TformaVisorLinea::OpensOtherTitles() const {
    return false;
}

// The rules after this one run while the picture shows.
void TformaVisorLinea::ShowJpgHotspot(const AnsiString &text) {
    ShowJpegPicture(text);
    Panel2->show();
    showPictureWindow();
}

// A picture that fails to load raises its error before anything changes.
void TformaVisorLinea::ShowBmpHotspot(const AnsiString &text) {
    putInPictureWindow(LoadPictureFile("Fotos\\" + text).image);
    showPictureWindow();
}

void TformaVisorLinea::ShowJpegPicture(const AnsiString &name) {
    SelectPalette(FormaTelon, PaletteBitmap, false);
    RealizePalette(FormaTelon);
    TPicture picture = LoadPictureFile(StartDir + "JPG\\" + name);
    if (picture.kind == TPicture::Kind::Jpeg && IsPaletteDisplay())
        picture.image = onPalette(picture.image, PaletteBitmap);
    putInPictureWindow(picture.image);
}

bool TformaVisorLinea::IsPaletteDisplay() {
    return GetDeviceCaps(this, PLANES) == 1 && GetDeviceCaps(this, BITSPIXEL) == 8;
}
