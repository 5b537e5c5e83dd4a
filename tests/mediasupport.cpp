#include "mediasupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace mediasupport {

namespace {

QStringList gstreamerPluginDirs() {
    QStringList dirs;
    for (const char *variable : {"GST_PLUGIN_PATH_1_0", "GST_PLUGIN_PATH",
                                 "GST_PLUGIN_SYSTEM_PATH_1_0", "GST_PLUGIN_SYSTEM_PATH"})
        dirs += qEnvironmentVariable(variable).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const QString libraries = QLibraryInfo::path(QLibraryInfo::LibrariesPath);
    dirs << libraries + QStringLiteral("/gstreamer-1.0") << QStringLiteral("/usr/lib/gstreamer-1.0")
         << QStringLiteral("/usr/lib64/gstreamer-1.0");
    return dirs;
}

bool hasGstreamerPlugin(const QString &name) {
    const QString file = QStringLiteral("libgst%1.so").arg(name);
    for (const QString &dir : gstreamerPluginDirs()) {
        if (QFileInfo::exists(QDir(dir).filePath(file)))
            return true;
    }
    return false;
}

} // namespace

QString missingMediaTools() {
    if (QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty())
        return QStringLiteral("ffmpeg is missing (Debian package ffmpeg)");
    const QString qtPlugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                             QStringLiteral("/multimedia/libgstreamermediaplugin.so");
    if (!QFileInfo::exists(qtPlugin))
        return QStringLiteral("Qt Multimedia's GStreamer backend is missing");
    const struct {
        const char *plugin;
        const char *package;
    } needed[] = {{"playback", "gstreamer1.0-plugins-base"},
                  {"avi", "gstreamer1.0-plugins-good"},
                  {"wavparse", "gstreamer1.0-plugins-good"},
                  {"libav", "gstreamer1.0-libav"}};
    for (const auto &[plugin, package] : needed) {
        if (!hasGstreamerPlugin(QLatin1String(plugin)))
            return QStringLiteral("GStreamer plugin %1 is missing (Debian package %2)")
                .arg(QLatin1String(plugin), QLatin1String(package));
    }
    return QString();
}

bool runFfmpeg(const QStringList &arguments, const QString &output) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 QStringList{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"} + arguments +
                     QStringList{output});
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
           ffmpeg.exitCode() == 0 && QFileInfo(output).size() > 0;
}

NullSoundServer::NullSoundServer() : previousServer_(qgetenv("PULSE_SERVER")) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty() || !dir_.isValid())
        return;
    const QString socket = dir_.filePath(QStringLiteral("native"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Its own home and runtime folders, so that it meets no other server.
    environment.insert(QStringLiteral("HOME"), dir_.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.path());
    environment.remove(QStringLiteral("PULSE_SERVER"));
    process_.setProcessEnvironment(environment);
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    // It ends with this process, however this process ends.
    process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start(program,
                   {"--daemonize=no", "--exit-idle-time=-1", "-n", "--use-pid-file=no",
                    "--disallow-module-loading", "--log-target=stderr", "--log-level=0",
                    "--load=module-null-sink",
                    "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    if (!process_.waitForStarted(5000))
        return;
    const QDeadlineTimer deadline(5000);
    while (!QFileInfo::exists(socket) && running() && !deadline.hasExpired())
        QThread::msleep(20);
    if (QFileInfo::exists(socket) && running())
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
}

void NullSoundServer::hang() {
    if (running())
        ::kill(pid_t(process_.processId()), SIGSTOP);
}

void NullSoundServer::resume() {
    if (running())
        ::kill(pid_t(process_.processId()), SIGCONT);
}

NullSoundServer::~NullSoundServer() {
    resume();
    if (previousServer_.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", previousServer_);
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
}

} // namespace mediasupport
