#include "formaentrada.h"

#include "visor.h"

#include <QTimer>

TFormEntrada *FormEntrada = nullptr;

TFormEntrada::TFormEntrada() {
    setWindowTitle(QStringLiteral("U"));
    CambioPantalla = new QTimer(this);
    CambioPantalla->setInterval(100);
    BindHandler(CambioPantalla, &QTimer::timeout, this, [this] { CambioPantallaTimer(); });
    OnCreate = [this] { FormCreate(); };
}

// Until the intro is built the window hands over at once, as its skip mode.
void TFormEntrada::FormCreate() { CambioPantalla->start(); }

void TFormEntrada::CambioPantallaTimer() {
    CambioPantalla->stop();
    hide();
    if (formaVisor)
        formaVisor->show();
}
