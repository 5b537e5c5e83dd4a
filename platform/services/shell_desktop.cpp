// What the desktop does for a shell call: addresses and documents open with
// their default application through the desktop's opener, programs start
// detached with their parameters split into arguments. Nothing passes
// through a command interpreter, so the text of a title can never become a
// shell command line.

#include "shell.h"

#include "errors.h"
#include "paths.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>
#include <cstring>

namespace {

// The shell's answers: above 32 is success.
constexpr intptr_t kDone = 42;
constexpr intptr_t kFileNotFound = 2;
constexpr intptr_t kPathNotFound = 3;
constexpr intptr_t kAccessDenied = 5;
constexpr intptr_t kBadFormat = 11;
constexpr intptr_t kNoAssociation = 31;

bool startsWithIgnoringCase(const AnsiString &text, const char *prefix) {
    return ansi::upperAscii(text.substr(0, std::char_traits<char>::length(prefix))) ==
           ansi::upperAscii(prefix);
}

bool endsWithIgnoringCase(const AnsiString &text, const AnsiString &suffix) {
    return text.size() >= suffix.size() &&
           ansi::upperAscii(text.substr(text.size() - suffix.size())) == ansi::upperAscii(suffix);
}

AnsiString fileNameOf(const AnsiString &path) {
    const size_t slash = path.find_last_of('/');
    return slash == AnsiString::npos ? path : path.substr(slash + 1);
}

// The opener a test installed, else the desktop's; empty when there is none.
QString openerProgram() {
    const QString &installed = handlerSlot<shell::Opener>().program;
    return installed.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("xdg-open"))
                               : installed;
}

// Hands `target` to the opener as one argument. The opener finds no browser or
// application only some time after it starts, and says so by its exit status
// alone, so the call returns once it runs and its end is watched: an error or
// a crash then reaches the caller's `onLateFailure`. An opener may run on for
// as long as the application it started (and outlive the reader); it is
// never killed, and its QProcess goes once it ends, so it is not left a zombie.
intptr_t startOpener(const QString &opener, const QString &target, const ShellCall &call) {
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({target});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return kNoAssociation;
    }
    if (call.onLateFailure) {
        QObject *watcher = call.owner ? static_cast<QObject *>(call.owner) : process;
        QObject::connect(
            process, &QProcess::finished, watcher,
            [onLateFailure = call.onLateFailure](int exitCode, QProcess::ExitStatus status) {
                if (status != QProcess::NormalExit || exitCode != 0)
                    runHandler(onLateFailure);
            });
    }
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return kDone;
}

// Local files go to the opener as their absolute path, addresses encoded.
intptr_t openUrl(const QUrl &url, const ShellCall &call) {
    if (!url.isValid())
        return kNoAssociation;
    const QString opener = openerProgram();
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url) ? kDone : kNoAssociation;
    return startOpener(
        opener, url.isLocalFile() ? url.toLocalFile() : QString::fromLatin1(url.toEncoded()), call);
}

// A "file://" address: the rest is a local path, possibly written with "\"
// and in another case than the files on disk.
intptr_t openFileAddress(const AnsiString &address, const ShellCall &call) {
    const AnsiString path = paths::toSlashes(address.substr(std::strlen("file://")));
    QString local = paths::resolvePath(path);
    if (!QFileInfo::exists(local)) {
        const QByteArray decoded = QByteArray::fromPercentEncoding(QByteArray::fromStdString(path));
        local = paths::resolvePath(AnsiString(decoded.constData(), size_t(decoded.size())));
        if (!QFileInfo::exists(local))
            return kFileNotFound;
    }
    return openUrl(QUrl::fromLocalFile(QFileInfo(local).absoluteFilePath()), call);
}

// The local file `name` names, relative to `workingDir` unless absolute.
QString findLocal(const AnsiString &name, const QString &workingDir) {
    const AnsiString full = name.front() == '/' ? name : ansi::fromQt(workingDir) + "/" + name;
    const QString local = paths::resolvePath(full);
    return QFileInfo::exists(local) ? QFileInfo(local).absoluteFilePath() : QString();
}

// The file the call names: as given, then "X" for a missing "X.exe", then on
// PATH; the reader's own program stands in for a missing "LectorDorvik.exe".
QString findTarget(const AnsiString &file, const QString &workingDir) {
    std::vector<AnsiString> names{file};
    if (endsWithIgnoringCase(file, ".exe"))
        names.push_back(file.substr(0, file.size() - 4));
    for (const AnsiString &name : names) {
        const QString found = findLocal(name, workingDir);
        if (!found.isEmpty())
            return found;
    }
    for (const AnsiString &name : names) {
        if (name.find('/') != AnsiString::npos)
            continue;
        const QString found = QStandardPaths::findExecutable(ansi::toQt(name));
        if (!found.isEmpty())
            return found;
    }
    if (ansi::upperAscii(fileNameOf(file)) == "LECTORDORVIK.EXE")
        return QCoreApplication::applicationFilePath();
    return QString();
}

bool isProgram(const AnsiString &file, const QFileInfo &target) {
    if (!target.isFile())
        return false;
    if (endsWithIgnoringCase(file, ".exe"))
        return true;
    if (!target.isExecutable())
        return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(target);
    return type.inherits(QStringLiteral("application/x-executable")) ||
           type.inherits(QStringLiteral("application/x-sharedlib"));
}

intptr_t startProgram(const QFileInfo &program, const AnsiString &parameters,
                      const QString &workingDir) {
    const QStringList arguments = QProcess::splitCommand(ansi::toQt(parameters));
    if (QProcess::startDetached(program.absoluteFilePath(), arguments, workingDir))
        return kDone;
    return program.isExecutable() ? kBadFormat : kAccessDenied;
}

} // namespace

intptr_t desktopShellExecute(const ShellCall &call) {
    const AnsiString &file = call.file;
    if (file.empty())
        return kFileNotFound;
    if (startsWithIgnoringCase(file, "http://") || startsWithIgnoringCase(file, "https://"))
        return openUrl(QUrl::fromUserInput(ansi::toQt(file)), call);
    if (startsWithIgnoringCase(file, "file://"))
        return openFileAddress(file, call);

    QString workingDir = QDir::currentPath();
    if (!call.directory.empty()) {
        workingDir = paths::resolvePath(call.directory);
        if (!QFileInfo(workingDir).isDir())
            return kPathNotFound;
        workingDir = QFileInfo(workingDir).absoluteFilePath();
    }
    const AnsiString name = paths::toSlashes(file);
    const QString target = findTarget(name, workingDir);
    if (target.isEmpty())
        return kFileNotFound;
    const QFileInfo info(target);
    if (isProgram(name, info))
        return startProgram(info, call.parameters, workingDir);
    return openUrl(QUrl::fromLocalFile(info.absoluteFilePath()), call);
}
