#include "lineaapp.h"

#include "actualizarlinea.h"
#include "anadir.h"
#include "buscarlinea.h"
#include "cmdline.h"
#include "copiar.h"
#include "entradalinea.h"
#include "forms.h"
#include "impresion.h"
#include "marcacion.h"
#include "mvutil.h"
#include "preferencias.h"
#include "readerapp.h"
#include "recorrido.h"
#include "resulta.h"
#include "vermarcas.h"
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
    app.CreateForm<TformaActualizacionLinea>(formaActualizacion);
    app.CreateForm(formaVerMarcas);
    app.CreateForm(formaRecorrido);
    app.CreateForm(formaPreferencias);
    app.CreateForm(formaImpresion);
    app.CreateForm(formaMarcacion);
    app.CreateForm(formaAnotaciones);
    app.CreateForm(formaCopiar);
    app.CreateForm<TformaBuscarLinea>(formaBuscar);
    app.CreateForm(formaResulta);
    app.CreateForm(FormaTelon);
    RegisterViewerDialogs();
}

int RunLectorLinea(int argc, char **argv) {
    return RunReader(argc, argv, QStringLiteral("LectorLinea"), [](const QStringList &arguments) {
        InitializeLineaUnits(arguments);
        CreateLineaForms();
    });
}
