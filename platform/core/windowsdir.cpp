#include "windowsdir.h"

#include <QDir>
#include <QFile>

AnsiString GetWindowsDirectoryA() {
    QString dir = qEnvironmentVariable("LECTOR_WINDOWS_DIR");
    if (dir.isEmpty()) {
        QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        if (dataHome.isEmpty())
            dataHome = QDir::homePath() + QStringLiteral("/.local/share");
        dir = dataHome + QStringLiteral("/lector");
    }
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return ansi::fromQt(dir);
}

namespace windowsdir {
void anchorToStartDirectory() {
    const QString dir = qEnvironmentVariable("LECTOR_WINDOWS_DIR");
    if (!dir.isEmpty() && QDir::isRelativePath(dir))
        qputenv("LECTOR_WINDOWS_DIR",
                QFile::encodeName(QDir::cleanPath(QDir::current().absoluteFilePath(dir))));
}
} // namespace windowsdir
