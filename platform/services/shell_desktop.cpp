// What the desktop does for a shell call: addresses and documents open with
// their default application through the desktop's opener, programs start
// detached with their parameters split into arguments. Nothing passes
// through a command interpreter, so the text of a title can never become a
// shell command line.

#include "shell.h"

#include "paths.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
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

// How long a launch waits for the opener to fail: it finds no browser or
// application a moment after it starts and says so only by its exit status.
constexpr int kQuickFailureMs = 300;

// The opener a test installed, else the desktop's; empty when there is none.
QString openerProgram() {
    const QString &installed = handlerSlot<shell::Opener>().program;
    return installed.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("xdg-open"))
                               : installed;
}

// Hands `target` to the opener as one argument. An opener still running after
// the wait has found its application: it is left to run on, outliving this
// call and the reader, and its QProcess goes once it ends, so that it is
// neither killed nor left a zombie.
intptr_t startOpener(const QString &opener, const QString &target) {
    auto *process = new QProcess;
    process->setProgram(opener);
    process->setArguments({target});
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    const QDeadlineTimer deadline(kQuickFailureMs);
    process->start();
    if (process->waitForStarted(int(deadline.remainingTime())))
        process->waitForFinished(int(deadline.remainingTime()));
    if (process->state() != QProcess::NotRunning) {
        // Nothing has reached the event loop yet, so `finished` (or, for an
        // opener still starting, its failure to start) is still to come.
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        QObject::connect(process, &QProcess::errorOccurred, process, [process] {
            if (process->state() == QProcess::NotRunning)
                process->deleteLater();
        });
        return kDone;
    }
    const bool opened = process->error() != QProcess::FailedToStart &&
                        process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return opened ? kDone : kNoAssociation;
}

// Local files go to the opener as their absolute path, addresses encoded.
intptr_t openUrl(const QUrl &url) {
    if (!url.isValid())
        return kNoAssociation;
    const QString opener = openerProgram();
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url) ? kDone : kNoAssociation;
    return startOpener(opener, url.isLocalFile() ? url.toLocalFile()
                                                 : QString::fromLatin1(url.toEncoded()));
}

// A "file://" address: the rest is a local path, possibly written with "\"
// and in another case than the files on disk.
intptr_t openFileAddress(const AnsiString &address) {
    const AnsiString path = paths::toSlashes(address.substr(std::strlen("file://")));
    QString local = paths::resolvePath(path);
    if (!QFileInfo::exists(local)) {
        const QByteArray decoded = QByteArray::fromPercentEncoding(QByteArray::fromStdString(path));
        local = paths::resolvePath(AnsiString(decoded.constData(), size_t(decoded.size())));
        if (!QFileInfo::exists(local))
            return kFileNotFound;
    }
    return openUrl(QUrl::fromLocalFile(QFileInfo(local).absoluteFilePath()));
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
        return openUrl(QUrl::fromUserInput(ansi::toQt(file)));
    if (startsWithIgnoringCase(file, "file://"))
        return openFileAddress(file);

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
    return openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}
