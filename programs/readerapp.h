#pragma once

// What the two programs' start-ups share.

#include <QString>
#include <QStringList>
#include <functional>

// Tells the viewer which dialog each code names (2 to 11).
void RegisterViewerDialogs();

// Starts the toolkit, takes the command line and creates the windows through
// `start`, then runs the event loop until the main window closes.
int RunReader(int argc, char **argv, const QString &title,
              const std::function<void(const QStringList &arguments)> &start);
