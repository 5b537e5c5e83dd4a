#include "video.h"

#include "clickcontrols.h"
#include "visor.h"

#include <QApplication>

TFormaTelon *FormaTelon = nullptr;

namespace {

bool viewerVideoPlaying() {
    return formaVisor && formaVisor->VideoPlaying;
}

} // namespace

TFormaTelon::TFormaTelon() {
    setWindowTitle(QStringLiteral("FormaTelon"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setBackgroundColour(this, QApplication::palette().color(QPalette::Button));
    setGeometry(234, 154, 280, 238);

    Image1 = new TImage(this);
    Image1->setGeometry(16, 8, 9, 33);

    OnClick = [this] { FormClick(); };
    Image1->OnClick = [this] { Image1Click(); };
}

// The viewer may be made after this window; it owns it from the first showing.
void TFormaTelon::setVisible(bool visible) {
    if (visible && formaVisor && parentWidget() != formaVisor)
        setParent(formaVisor, windowFlags());
    TForm::setVisible(visible);
}

void TFormaTelon::FormClick() {
    if (viewerVideoPlaying()) {
        formaVisor->VideoPlaying = false;
        formaVisor->CloseVideo();
    } else {
        Image1->setPicture(QImage());
    }
    close();
}

// The image control's area does not stop a playing video.
void TFormaTelon::Image1Click() {
    if (viewerVideoPlaying())
        return;
    Image1->setPicture(QImage());
    close();
}
