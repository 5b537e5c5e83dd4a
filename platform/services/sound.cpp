#include "sound.h"

// Plays the file on the desktop's sound output (sound_player.cpp).
bool desktopPlaySound(const AnsiString &fileName, unsigned flags);

namespace sound {
namespace {
Handler &currentHandler() {
    static Handler handler;
    return handler;
}
} // namespace

Handler setHandler(Handler handler) {
    Handler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

RecordingSound::RecordingSound() {
    previous_ = setHandler([this](const AnsiString &fileName, unsigned) {
        played.push_back(fileName);
        return true;
    });
}

RecordingSound::~RecordingSound() {
    setHandler(std::move(previous_));
}

} // namespace sound

bool PlaySoundA(const AnsiString &fileName, void *, unsigned flags) {
    if (const sound::Handler &handler = sound::currentHandler())
        return handler(fileName, flags);
    return desktopPlaySound(fileName, flags);
}
