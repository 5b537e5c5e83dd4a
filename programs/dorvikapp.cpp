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
#include "media_backend.h"
#include "mvutil.h"
#include "preferencias.h"
#include "recorrido.h"
#include "resulta.h"
#include "scroll.h"
#include "session_bus.h"
#include "vermarcas.h"
#include "video.h"
#include "visor.h"

#include <QApplication>
#include <QIcon>

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

    formaVisor->RegisterDialog(2, formaActualizacion);
    formaVisor->RegisterDialog(3, formaRecorrido);
    formaVisor->RegisterDialog(4, formaVerMarcas);
    formaVisor->RegisterDialog(5, formaPreferencias);
    formaVisor->RegisterDialog(6, formaBuscar);
    formaVisor->RegisterDialog(7, formaCopiar);
    formaVisor->RegisterDialog(8, formaAnotaciones);
    formaVisor->RegisterDialog(9, formaMarcacion);
    formaVisor->RegisterDialog(10, formaImpresion);
    formaVisor->RegisterDialog(11, formaResulta);
}

int RunLectorDorvik(int argc, char **argv) {
    media::chooseBackend();
    sessionbus::startWithoutLaunching();
    QApplication application(argc, argv);
    sessionbus::settle();
    QApplication::setQuitOnLastWindowClosed(false);
    TApplication::instance().Title = QStringLiteral("LectorDorvik");
    installErrorBox();
    InitializeDorvikUnits(QApplication::arguments());
    CreateDorvikForms();
    return TApplication::instance().Run();
}
