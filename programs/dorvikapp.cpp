#include "dorvikapp.h"

#include "actualizar.h"
#include "anadir.h"
#include "buscar.h"
#include "cmdline.h"
#include "copiar.h"
#include "formaentrada.h"
#include "forms.h"
#include "impresion.h"
#include "marcacion.h"
#include "mvutil.h"
#include "preferencias.h"
#include "readerapp.h"
#include "recorrido.h"
#include "resulta.h"
#include "scroll.h"
#include "vermarcas.h"
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
    app.CreateForm(formaActualizacion);
    app.CreateForm(formaVerMarcas);
    app.CreateForm(formaRecorrido);
    app.CreateForm(formaPreferencias);
    app.CreateForm(formaImpresion);
    app.CreateForm(formaMarcacion);
    app.CreateForm(formaAnotaciones);
    app.CreateForm(formaCopiar);
    app.CreateForm(formaBuscar);
    app.CreateForm(formaResulta);
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
