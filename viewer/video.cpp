#include "video.h"

#include "clickcontrols.h"
#include "visor.h"

#include <QApplication>
#include <QWindow>

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

// Kept above the viewer by the window system, as the viewer's transient
// window; no parent widget, so that the viewer does not own it as well.
void TFormaTelon::setVisible(bool visible) {
    if (visible && formaVisor) {
        formaVisor->winId();
        winId();
        windowHandle()->setTransientParent(formaVisor->windowHandle());
    }
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
