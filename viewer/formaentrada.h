#pragma once

// The intro screen, the program's main window.

#include "forms.h"

class QTimer;

class TFormEntrada : public TForm {
    Q_OBJECT

public:
    TFormEntrada();

    QTimer *CambioPantalla = nullptr;

    void FormCreate();
    void CambioPantallaTimer();
};

extern TFormEntrada *FormEntrada;
