#pragma once

// LectorLinea's intro window: created but never shown. It reads lines 1 to 8
// of the title's line file, arms the picture or the text-and-video mode, and
// would play the video when painted; in the picture mode its timer still
// loads "entrada.bmp" into the hidden window.

#include "formaentrada.h"

class TFormEntradaLinea : public TFormEntrada {
    Q_OBJECT

public:
    TFormEntradaLinea();

    // The video-end poll, VideoSalida, by the name this window gives it.
    QTimer *VIdeoSalida = nullptr;

    void FormCreate() override;
    void FormPaint();
};
