#include "entradalinea.h"

#include "lineas.h"
#include "settings.h"

#include <QTimer>

// No skip mode, so no timer for it; the video starts on painting, not on
// showing.
TFormEntradaLinea::TFormEntradaLinea() {
    setWindowTitle(QStringLiteral("Entrada"));
    delete CambioPantalla;
    CambioPantalla = nullptr;
    VIdeoSalida = VideoSalida;
    VIdeoSalida->setObjectName(QStringLiteral("VIdeoSalida"));
    OnShow = nullptr;
    OnPaint = [this] { FormPaint(); };
}

void TFormEntradaLinea::FormCreate() {
    const TLineSettings settings = ReadLineSettings();
    if (!SwitchIs(settings.Line(1), "SI")) {
        ArmPictureIntro();
        return;
    }
    ArmTextIntro(IntroText([&settings](int line) { return settings.Line(line); }));
}

void TFormEntradaLinea::FormPaint() {
    PlayPendingIntroVideo();
}
