#pragma once

// What the two programs' start-ups share.

#include "actualizar.h"
#include "anadir.h"
#include "buscar.h"
#include "copiar.h"
#include "forms.h"
#include "impresion.h"
#include "marcacion.h"
#include "preferencias.h"
#include "recorrido.h"
#include "resulta.h"
#include "vermarcas.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <functional>

// Creates the reading-tool dialogs in the order both programs create them,
// with the program's own updates and search dialogs.
template <typename Updates, typename Search> void CreateReadingToolForms() {
    TApplication &app = TApplication::instance();
    app.CreateForm<Updates>(formaActualizacion);
    app.CreateForm(formaVerMarcas);
    app.CreateForm(formaRecorrido);
    app.CreateForm(formaPreferencias);
    app.CreateForm(formaImpresion);
    app.CreateForm(formaMarcacion);
    app.CreateForm(formaAnotaciones);
    app.CreateForm(formaCopiar);
    app.CreateForm<Search>(formaBuscar);
    app.CreateForm(formaResulta);
}

// Tells the viewer which dialog each code names (2 to 11).
void RegisterViewerDialogs();

// Puts the toolkit's own texts (the standard open-file and print dialogs, the
// message boxes' buttons) in Spanish, as every text of the reader is; they
// stay in English when Qt's translations are not installed.
void InstallToolkitTranslations(QCoreApplication &application);

// Starts the toolkit, takes the command line and creates the windows through
// `start`, then runs the event loop until the main window closes.
int RunReader(int argc, char **argv, const QString &title,
              const std::function<void(const QStringList &arguments)> &start);
