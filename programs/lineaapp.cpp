#include "lineaapp.h"

#include "actualizarlinea.h"
#include "buscarlinea.h"
#include "cmdline.h"
#include "entradalinea.h"
#include "forms.h"
#include "mvutil.h"
#include "readerapp.h"
#include "video.h"
#include "visorlinea.h"

void InitializeLineaUnits(const QStringList &arguments) {
    SetCommandLine(arguments);
    ResetNavigationState();
}

// No picture viewer: pictures show in the video window.
void CreateLineaForms() {
    TApplication &app = TApplication::instance();
    app.CreateForm<TformaVisorLinea>(formaVisor);
    app.CreateForm<TFormEntradaLinea>(FormEntrada);
    CreateReadingToolForms<TformaActualizacionLinea, TformaBuscarLinea>();
    app.CreateForm(FormaTelon);
    RegisterViewerDialogs();
}

int RunLectorLinea(int argc, char **argv) {
    return RunReader(argc, argv, QStringLiteral("LectorLinea"), [](const QStringList &arguments) {
        InitializeLineaUnits(arguments);
        CreateLineaForms();
    });
}
