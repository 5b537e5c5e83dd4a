#pragma once

// Helpers of the media tests: the tools and plugins they need, media files
// made at test time with the ffmpeg command-line tool, and a private sound
// server so that sound never reaches the machine's own.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace mediasupport {

// Why media playback cannot be tested here ("ffmpeg is missing", a missing
// GStreamer plugin), or an empty string when it can.
QString missingMediaTools();

// Runs ffmpeg with `arguments` (after its own quiet options); true when it
// wrote `output`.
bool runFfmpeg(const QStringList &arguments, const QString &output);

// A PulseAudio server with a null sink, for this process alone (PULSE_SERVER
// points at it while it lives). Without pulseaudio, or when it cannot start,
// nothing happens: playback then reaches its end without a sound server.
class NullSoundServer {
public:
    NullSoundServer();
    ~NullSoundServer();
    bool running() const { return process_.state() == QProcess::Running; }
    // Stops the server without ending it, as a sound server that no longer
    // answers; resume() lets it go on.
    void hang();
    void resume();

private:
    QTemporaryDir dir_;
    QProcess process_;
    QByteArray previousServer_;
};

} // namespace mediasupport
