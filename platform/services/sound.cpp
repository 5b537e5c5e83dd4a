#include "sound.h"

#include "seam.h"

// Plays the file on the desktop's sound output (sound_player.cpp).
bool desktopPlaySound(const AnsiString &fileName, unsigned flags);

namespace sound {

Handler setHandler(Handler handler) {
    return replaceHandler(std::move(handler));
}

RecordingSound::RecordingSound()
    : installed_([this](const AnsiString &fileName, unsigned) {
          played.push_back(fileName);
          return true;
      }) {}

} // namespace sound

bool PlaySoundA(const AnsiString &fileName, void *, unsigned flags) {
    if (const sound::Handler &handler = handlerSlot<sound::Handler>())
        return handler(fileName, flags);
    return desktopPlaySound(fileName, flags);
}
