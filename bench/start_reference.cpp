// The reference of the start benchmark: a minimal Qt Widgets window, a
// QMainWindow holding a QTextBrowser, shown at once.

#include <QApplication>
#include <QMainWindow>
#include <QTextBrowser>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Referencia"));
    window.setCentralWidget(new QTextBrowser);
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
