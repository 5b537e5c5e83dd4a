#include "scroll.h"

#include "clickcontrols.h"
#include "display.h"
#include "picture.h"

#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>
#include <exception>

TScrollbmp *Scrollbmp = nullptr;

namespace {

constexpr int kScrollBarThickness = 16;
constexpr int kScrollStep = 10;
// Pictures below this size are centred on the screen.
constexpr int kCentredWidthLimit = 800;
constexpr int kCentredHeightLimit = 600;

QScrollBar *makeScrollBar(Qt::Orientation orientation, QWidget *parent) {
    auto *bar = new QScrollBar(orientation, parent);
    bar->setSingleStep(kScrollStep);
    bar->setCursor(Qt::ArrowCursor);
    bar->hide();
    return bar;
}

int shownThickness(const QScrollBar *bar) {
    return bar->isHidden() ? 0 : kScrollBarThickness;
}

} // namespace

TScrollbmp::TScrollbmp() {
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowState(Qt::WindowMaximized);
    setCursor(Qt::PointingHandCursor);
    setBackgroundColour(this, Qt::black);

    HorzScrollBar = makeScrollBar(Qt::Horizontal, this);
    VertScrollBar = makeScrollBar(Qt::Vertical, this);
    connect(HorzScrollBar, &QScrollBar::valueChanged, this, [this] { update(); });
    connect(VertScrollBar, &QScrollBar::valueChanged, this, [this] { update(); });

    OnCreate = [this] { FormCreate(); };
    OnActivate = [this] { ActivateOncePerShowing(); };
    OnPaint = [this] { FormPaint(); };
    OnClick = [this] { FormClick(); };
    OnDestroy = [this] { FormDestroy(); };
}

void TScrollbmp::FormCreate() {
    ScrollOrigin = QPoint(0, 0);
    PictureBitmap = QImage();
}

void TScrollbmp::FormActivate() {
    PictureBitmap = QImage();
    ScrollOrigin = QPoint(0, 0);

    TPicture picture;
    std::exception_ptr loadError;
    try {
        picture = LoadPictureFile(PictureFile);
    } catch (...) {
        loadError = std::current_exception();
    }

    // Icons, metafiles and failed loads leave the bitmap empty.
    if (picture.kind == TPicture::Kind::Jpeg || picture.kind == TPicture::Kind::Bitmap)
        PictureBitmap = picture.image;
    SetRanges(PictureBitmap.width(), PictureBitmap.height());
    HorzScrollBar->setValue(0);
    VertScrollBar->setValue(0);

    if (loadError)
        std::rethrow_exception(loadError);
    PaintPicture();
}

void TScrollbmp::FormPaint() {
    PaintPicture();
}

void TScrollbmp::FormClick() {
    close();
}

void TScrollbmp::FormDestroy() {
    PictureBitmap = QImage();
}

QRect TScrollbmp::ClientRect() const {
    return QRect(0, 0, width() - shownThickness(VertScrollBar),
                 height() - shownThickness(HorzScrollBar));
}

// Outside a paint event this only lays the window out and asks for a repaint;
// the paint event then draws.
void TScrollbmp::PaintPicture() {
    if (PictureBitmap.isNull())
        return;
    ScrollOrigin = QPoint(HorzScrollBar->value(), VertScrollBar->value());
    SetRanges(PictureBitmap.width(), PictureBitmap.height());

    if (ScrollOrigin == QPoint(0, 0) && PictureBitmap.height() < kCentredHeightLimit &&
        PictureBitmap.width() < kCentredWidthLimit) {
        const QSize screen = ScreenSize();
        const QPoint centred((screen.width() - PictureBitmap.width()) / 2,
                             (screen.height() - PictureBitmap.height()) / 2);
        if (canvas_)
            canvas_->drawImage(centred, PictureBitmap);
        else
            update();
        return;
    }

    QRect client = ClientRect();
    if (client.height() > vertRange_)
        SetClientSize(client.width(), vertRange_);
    client = ClientRect();
    if (client.width() > horzRange_)
        SetClientSize(horzRange_, client.height());
    client = ClientRect();
    if (canvas_)
        canvas_->drawImage(client.topLeft(), PictureBitmap, QRect(ScrollOrigin, client.size()));
    else
        update();
}

void TScrollbmp::SetRanges(int horizontal, int vertical) {
    horzRange_ = horizontal;
    vertRange_ = vertical;
    LayoutScrollBars();
}

void TScrollbmp::SetClientSize(int width, int height) {
    resize(width + shownThickness(VertScrollBar), height + shownThickness(HorzScrollBar));
    LayoutScrollBars();
}

// A scroll bar shows while its range is larger than the client area; its
// position runs over what does not fit.
void TScrollbmp::LayoutScrollBars() {
    bool horizontal = false;
    bool vertical = false;
    for (int pass = 0; pass < 2; ++pass) {
        horizontal = horzRange_ > width() - (vertical ? kScrollBarThickness : 0);
        vertical = vertRange_ > height() - (horizontal ? kScrollBarThickness : 0);
    }
    const int clientWidth = width() - (vertical ? kScrollBarThickness : 0);
    const int clientHeight = height() - (horizontal ? kScrollBarThickness : 0);

    HorzScrollBar->setGeometry(0, clientHeight, clientWidth, kScrollBarThickness);
    HorzScrollBar->setRange(0, std::max(0, horzRange_ - clientWidth));
    HorzScrollBar->setPageStep(std::max(1, clientWidth));
    HorzScrollBar->setVisible(horizontal);

    VertScrollBar->setGeometry(clientWidth, 0, kScrollBarThickness, clientHeight);
    VertScrollBar->setRange(0, std::max(0, vertRange_ - clientHeight));
    VertScrollBar->setPageStep(std::max(1, clientHeight));
    VertScrollBar->setVisible(vertical);
}

// The picture is loaded once each time the window is shown, when it becomes
// active; should the window system not activate it, right after the show.
// Reloading on every activation would raise a failed load's error box again
// each time the box closes.
void TScrollbmp::ActivateOncePerShowing() {
    if (!activationPending_)
        return;
    activationPending_ = false;
    FormActivate();
}

void TScrollbmp::showEvent(QShowEvent *event) {
    // Each showing starts maximised, over the whole screen the pictures are
    // centred on (TForm's showing of a borderless maximised window), also
    // after a picture has shrunk the window.
    if (!event->spontaneous()) {
        activationPending_ = true;
        QTimer::singleShot(0, this, [this] { runHandler([this] { ActivateOncePerShowing(); }); });
    }
    TForm::showEvent(event);
}

void TScrollbmp::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    canvas_ = &painter;
    TForm::paintEvent(event);
    canvas_ = nullptr;
}

void TScrollbmp::resizeEvent(QResizeEvent *event) {
    TForm::resizeEvent(event);
    LayoutScrollBars();
}
