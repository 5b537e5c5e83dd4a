#pragma once

// Start-up of LectorLinea: the units' initialisation, its thirteen windows
// with the viewer first (the main window), the event loop until it closes.

#include <QStringList>

// Takes the command line (arguments[0] is the program) and clears the
// navigation state; the viewer takes the title name when it is created.
void InitializeLineaUnits(const QStringList &arguments);
// Creates the windows in order, each creation handler running to its end, and
// tells the viewer which dialog each code names.
void CreateLineaForms();
int RunLectorLinea(int argc, char **argv);
