#pragma once

// Start-up of LectorDorvik: the units' initialisation, the fourteen windows in
// their order, the event loop until the intro window (the main window) closes.

#include <QStringList>

// Takes the command line (arguments[0] is the program) and initialises the
// navigation state.
void InitializeDorvikUnits(const QStringList &arguments);
// Creates the windows in order, each creation handler running to its end, and
// tells the viewer which dialog each code names.
void CreateDorvikForms();
int RunLectorDorvik(int argc, char **argv);
