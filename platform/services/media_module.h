#pragma once

// Sound and video play in a module of their own, liblector_media.so (built
// from media_playback.cpp and video_probe.cpp), loaded at the first sound or
// video: the programs start without Qt Multimedia, the libav libraries or a
// connection to a sound server. What the module offers is below; the command
// strings and file checks stay in the programs (mci_player.cpp,
// sound_player.cpp).

#include "video_probe.h"

#include <QString>

class QRect;
class QWidget;

namespace media {

// One open video's picture and sound. Its player is made at the first play,
// so a video opened and closed unplayed costs no media pipeline.
class VideoOutput {
public:
    enum class State { Stopped, Paused, Playing };

    virtual ~VideoOutput() = default;
    // Draws the picture over `rect` of `host`, a window of this program.
    virtual void show(QWidget *host, const QRect &rect, bool visible) = 0;
    virtual void play() = 0;
    // Stopped before the first play, at the end, and when the file turned
    // out not to play after all.
    virtual State state() const = 0;
};

struct Module {
    // Reads a local video file's facts (see video_probe.h).
    VideoProbe (*probeVideo)(const QString &fileName);
    // A new output for a local video file; the caller owns it.
    VideoOutput *(*openVideo)(const QString &fileName);
    // Plays a local WAV file in the background; a new sound replaces one
    // that still plays.
    void (*playSound)(const QString &fileName);
    // The local file of the sound that plays now, or an empty string.
    QString (*playingSound)();
};

// The module, loaded at the first call (the application object must exist);
// nullptr when it cannot be loaded.
const Module *module();
// The module if it is loaded already, else nullptr.
const Module *loadedModule();

} // namespace media

// The module's one exported function.
extern "C" const media::Module *lectorMediaModule();
