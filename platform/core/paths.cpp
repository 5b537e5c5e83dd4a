#include "paths.h"

#include "errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace paths {

AnsiString toSlashes(AnsiString path) {
    for (char &ch : path) {
        if (ch == '\\')
            ch = '/';
    }
    return path;
}

namespace {

// The entry of `dir` whose name equals `name` without regard to case, or an
// empty string.
QString findIgnoringCase(const QString &dir, const QString &name) {
    QDir folder(dir.isEmpty() ? QStringLiteral(".") : dir);
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

} // namespace

QString resolvePath(const AnsiString &path) {
    const QString wanted = ansi::toQt(toSlashes(path));
    if (wanted.isEmpty() || QFileInfo::exists(wanted))
        return wanted;

    const bool absolute = wanted.startsWith(QLatin1Char('/'));
    const QStringList parts = wanted.split(QLatin1Char('/'));
    QString resolved = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (part.isEmpty())
            continue;
        QString candidate = resolved + part;
        if (part != QLatin1String(".") && part != QLatin1String("..") &&
            !QFileInfo::exists(candidate.isEmpty() ? part : candidate)) {
            const QString match = findIgnoringCase(resolved, part);
            if (match.isEmpty())
                return wanted;
            candidate = resolved + match;
        }
        resolved = candidate;
        if (i + 1 < parts.size())
            resolved += QLatin1Char('/');
    }
    return resolved;
}

bool fileExists(const AnsiString &path) {
    const QString local = resolvePath(path);
    return !local.isEmpty() && QFileInfo::exists(local);
}

AnsiString currentDirWithSeparator() {
    AnsiString dir = ansi::fromQt(QDir::currentPath());
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

QByteArray readWholeFile(const AnsiString &path) {
    const QString local = resolvePath(path);
    QFile file(local);
    if (!file.open(QIODevice::ReadOnly))
        throw EAppError(formatMessage("Cannot open file %s", {local}));
    return file.readAll();
}

} // namespace paths
