#include "readerapp.h"

#include "actualizar.h"
#include "anadir.h"
#include "buscar.h"
#include "cmdline.h"
#include "copiar.h"
#include "forms.h"
#include "impresion.h"
#include "marcacion.h"
#include "preferencias.h"
#include "recorrido.h"
#include "resulta.h"
#include "session_bus.h"
#include "vermarcas.h"
#include "visor.h"
#include "windowsdir.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void RegisterViewerDialogs() {
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

void InstallToolkitTranslations(QCoreApplication &application) {
    auto *translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

int RunReader(int argc, char **argv, const QString &title,
              const std::function<void(const QStringList &arguments)> &start) {
    // The arguments are the reader's own: Qt takes no options from them.
    RawCommandLine commandLine(argc, argv);
    windowsdir::anchorToStartDirectory();
    sessionbus::startWithoutLaunching();
    QApplication application(commandLine.toolkitArgc(), commandLine.toolkitArgv());
    sessionbus::settle();
    QApplication::setQuitOnLastWindowClosed(false);
    InstallToolkitTranslations(application);
    TApplication::instance().Title = title;
    installErrorBox();
    start(commandLine.arguments());
    return TApplication::instance().Run();
}
