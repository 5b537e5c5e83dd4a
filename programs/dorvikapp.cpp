#include "dorvikapp.h"

#include "cmdline.h"
#include "formaentrada.h"
#include "forms.h"
#include "mvutil.h"
#include "readerapp.h"
#include "scroll.h"
#include "video.h"
#include "visor.h"

void InitializeDorvikUnits(const QStringList &arguments) {
    SetCommandLine(arguments);
    InitializeNavigationState();
}

void CreateDorvikForms() {
    TApplication &app = TApplication::instance();
    app.CreateForm(FormEntrada);
    app.CreateForm(formaVisor);
    CreateReadingToolForms<TformaActualizacion, TformaBuscar>();
    app.CreateForm(FormaTelon);
    app.CreateForm(Scrollbmp);

    RegisterViewerDialogs();
}

int RunLectorDorvik(int argc, char **argv) {
    return RunReader(argc, argv, QStringLiteral("LectorDorvik"), [](const QStringList &arguments) {
        InitializeDorvikUnits(arguments);
        CreateDorvikForms();
    });
}
