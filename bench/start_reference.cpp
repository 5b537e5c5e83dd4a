// The reference of the start benchmark: a minimal Qt Widgets window, a
// QMainWindow holding a QTextBrowser, shown at once. It starts as the reader
// does, without launching a session bus when the desktop has none, so that
// the two pay the same for the bus.

#include "session_bus.h"

#include <QApplication>
#include <QMainWindow>
#include <QTextBrowser>

int main(int argc, char **argv) {
    sessionbus::startWithoutLaunching();
    QApplication application(argc, argv);
    sessionbus::settle();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Referencia"));
    window.setCentralWidget(new QTextBrowser);
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
