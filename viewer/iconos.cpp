#include "iconos.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace iconos {

namespace {

bool themeInstalled(const QString &theme) {
    for (const QString &base : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(base + QLatin1Char('/') + theme + QStringLiteral("/index.theme")))
            return true;
    }
    return false;
}

// The platforms without a desktop (offscreen, a bare X server) search only
// the resources; the themes live in the XDG data folders.
void addDataFolderIcons() {
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataIcons =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    for (const QString &folder : dataIcons) {
        if (!paths.contains(folder))
            paths << folder;
    }
    if (!paths.contains(QStringLiteral("/usr/share/icons")))
        paths << QStringLiteral("/usr/share/icons");
    QIcon::setThemeSearchPaths(paths);
}

} // namespace

void ensureIconTheme() {
    const QString current = QIcon::themeName();
    // "hicolor" holds application icons only, no actions.
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    addDataFolderIcons();
    for (const char *theme : {"breeze", "Adwaita"}) {
        if (themeInstalled(QLatin1String(theme))) {
            QIcon::setThemeName(QLatin1String(theme));
            return;
        }
    }
}

QIcon themeIcon(std::initializer_list<const char *> names, QStyle::StandardPixmap fallback) {
    for (const char *name : names) {
        for (const QString &candidate :
             {QString::fromLatin1(name), QString::fromLatin1(name) + QStringLiteral("-symbolic")}) {
            if (!QIcon::hasThemeIcon(candidate))
                continue;
            const QIcon icon = QIcon::fromTheme(candidate);
            // A theme of SVG pictures draws nothing without the SVG icon engine.
            if (!icon.pixmap(24).isNull())
                return icon;
        }
    }
    return QApplication::style()->standardIcon(fallback);
}

} // namespace iconos
