#pragma once

// The intro screen, the program's main window. At creation it reads the
// title's settings and arms one of three modes: skip (the viewer is shown
// after 100 ms), picture ("entrada.bmp" until it is clicked), or text and
// video (seven lines of text with "videos\dorvik.avi", then the picture). A
// click on the picture hands over to the viewer; the intro then stays hidden.

#include "ansi.h"
#include "forms.h"

#include <QPoint>
#include <functional>

class QTimer;
class TImage;
class TLabel;
class TPanel;

class TFormEntrada : public TForm {
    Q_OBJECT

public:
    TFormEntrada();

    TLabel *Label1 = nullptr;
    TImage *Image1 = nullptr;
    TPanel *Video = nullptr;
    QTimer *Tiempo = nullptr;
    QTimer *VideoSalida = nullptr;
    QTimer *CambioPantalla = nullptr;

    virtual void FormCreate();
    void FormShow();
    void FormClick();
    void Label1Click();
    void VideoClick();
    void Image1Click();
    void TiempoTimer();
    void VideoSalidaTimer();
    void CambioPantallaTimer();

    // Plays the video file at `path` in the Video panel; true when it started.
    bool PlayIntroVideo(const AnsiString &path);
    bool IntroVideoStopped();
    void CloseIntroVideo();
    void ShowIntroPicture();

    bool IntroVideoPending() const { return introVideoPending_; }

    // The origin of the 640 x 480 frame centred on the screen, from the
    // screen's current size (negative on a smaller screen).
    static QPoint FrameOrigin();

    // The seven lines of the intro text from the values numbered 2 to 8, each
    // ending in a carriage return, with an empty line before each of the last two.
    static AnsiString IntroText(const std::function<AnsiString(int number)> &value);

protected:
    // The picture mode: the picture follows after 100 ms.
    void ArmPictureIntro();
    // The text-and-video mode: the text in the frame, the video on showing.
    void ArmTextIntro(const AnsiString &text);
    // Plays the intro video when the text-and-video mode is armed, once.
    void PlayPendingIntroVideo();

private:
    void HandOver();
    void CloseVideoAndShowPicture();

    bool introVideoPending_ = false;
};

extern TFormEntrada *FormEntrada;
