#include "formaentrada.h"

#include "clickcontrols.h"
#include "display.h"
#include "mvutil.h"
#include "picture.h"
#include "settings.h"
#include "videodevice.h"
#include "visor.h"

#include <QFont>
#include <QTimer>

TFormEntrada *FormEntrada = nullptr;

namespace {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
const char *const kIntroVideo = "videos\\dorvik.avi";
const char *const kIntroPicture = "entrada.bmp";

QTimer *makeTimer(QObject *parent, int interval) {
    auto *timer = new QTimer(parent);
    timer->setInterval(interval);
    return timer;
}

} // namespace

TFormEntrada::TFormEntrada() {
    setWindowTitle(QStringLiteral("U"));
    setWindowFlag(Qt::FramelessWindowHint);
    setWindowState(Qt::WindowMaximized);
    setBackgroundColour(this, Qt::black);

    Label1 = new TLabel(this);
    Label1->setGeometry(40, 256, 561, 161);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setBold(true);
    Label1->setFont(font);
    QPalette text = Label1->palette();
    text.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(text);
    Label1->hide();

    Image1 = new TImage(this);
    Image1->setGeometry(24, 120, 89, 41);

    Video = new TPanel(this);
    Video->setGeometry(160, 16, 320, 200);
    Video->hide();

    Tiempo = makeTimer(this, 100);
    VideoSalida = makeTimer(this, 1000);
    CambioPantalla = makeTimer(this, 100);

    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnClick = [this] { FormClick(); };
    Label1->OnClick = [this] { Label1Click(); };
    Video->OnClick = [this] { VideoClick(); };
    Image1->OnClick = [this] { Image1Click(); };
    BindHandler(Tiempo, &QTimer::timeout, this, [this] { TiempoTimer(); });
    BindHandler(VideoSalida, &QTimer::timeout, this, [this] { VideoSalidaTimer(); });
    BindHandler(CambioPantalla, &QTimer::timeout, this, [this] { CambioPantallaTimer(); });
}

QPoint TFormEntrada::FrameOrigin() {
    const QSize screen = ScreenSize();
    return QPoint((screen.width() - kFrameWidth) / 2, (screen.height() - kFrameHeight) / 2);
}

AnsiString TFormEntrada::IntroText(const std::function<AnsiString(int number)> &value) {
    AnsiString text;
    for (int line = 2; line <= 8; ++line) {
        text += value(line) + '\r';
        if (line == 6 || line == 7)
            text += '\r';
    }
    return text;
}

void TFormEntrada::FormCreate() {
    if (SwitchIs(ReadTitleSetting("linea22"), "SI"))
        CloseAfterLaunch = true;
    if (!SwitchIs(ReadTitleSetting("linea23"), "NO")) {
        CambioPantalla->start();
        return;
    }
    introVideoPending_ = false;
    if (!SwitchIs(ReadTitleSetting("linea1"), "SI")) {
        ArmPictureIntro();
        return;
    }
    ArmTextIntro(
        IntroText([](int line) { return ReadTitleSetting("linea" + std::to_string(line)); }));
}

void TFormEntrada::ArmPictureIntro() {
    Tiempo->start();
}

void TFormEntrada::ArmTextIntro(const AnsiString &text) {
    introVideoPending_ = true;
    Label1->move(QPoint(40, 256) + FrameOrigin());
    Label1->setCaption(text);
    Label1->show();
}

void TFormEntrada::FormShow() {
    if (SwitchIs(ReadTitleSetting("linea23"), "NO"))
        PlayPendingIntroVideo();
}

void TFormEntrada::PlayPendingIntroVideo() {
    if (!introVideoPending_)
        return;
    PlayIntroVideo(kIntroVideo);
    introVideoPending_ = false;
}

// The viewer's command sequence without its sizing and palette steps: the
// video fills the fixed panel.
bool TFormEntrada::PlayIntroVideo(const AnsiString &path) {
    Video->setGeometry(QRect(QPoint(160, 50) + FrameOrigin(), QSize(320, 200)));
    Video->show();
    if (!videodevice::Open(path))
        return false;
    if (!videodevice::PlayInWindow(Video->winId()))
        return false;
    VideoSalida->start();
    Video->show();
    return true;
}

// The viewer polls the same alias and may close the video first; the intro
// then has nothing left to wait for.
bool TFormEntrada::IntroVideoStopped() {
    return videodevice::StoppedOrClosed();
}

void TFormEntrada::CloseIntroVideo() {
    videodevice::Close();
    VideoSalida->stop();
}

void TFormEntrada::ShowIntroPicture() {
    Video->hide();
    Label1->hide();
    Image1->setGeometry(QRect(FrameOrigin(), QSize(kFrameWidth, kFrameHeight)));
    Image1->setPicture(LoadBitmapFile(kIntroPicture));
}

void TFormEntrada::VideoSalidaTimer() {
    if (!IntroVideoStopped())
        return;
    CloseIntroVideo();
    Video->hide();
    VideoSalida->stop();
    ShowIntroPicture();
}

void TFormEntrada::CloseVideoAndShowPicture() {
    CloseIntroVideo();
    ShowIntroPicture();
}

void TFormEntrada::FormClick() {
    CloseVideoAndShowPicture();
}
void TFormEntrada::Label1Click() {
    CloseVideoAndShowPicture();
}
void TFormEntrada::VideoClick() {
    CloseVideoAndShowPicture();
}

void TFormEntrada::TiempoTimer() {
    Tiempo->stop();
    ShowIntroPicture();
}

void TFormEntrada::Image1Click() {
    HandOver();
}

void TFormEntrada::CambioPantallaTimer() {
    CambioPantalla->stop();
    HandOver();
}

void TFormEntrada::HandOver() {
    hide();
    if (formaVisor)
        formaVisor->show();
}
