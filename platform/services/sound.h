#pragma once

// Sound playback: a WAV file plays in the background and the call returns at
// once; a new sound replaces one that still plays.

#include "ansi.h"
#include "seam.h"

#include <functional>
#include <vector>

constexpr unsigned SND_ASYNC = 1;

bool PlaySoundA(const AnsiString &fileName, void *module, unsigned flags);

namespace sound {

using Handler = std::function<bool(const AnsiString &fileName, unsigned flags)>;
Handler setHandler(Handler handler);

// Test double: records the files asked for instead of playing them.
class RecordingSound {
public:
    RecordingSound();
    std::vector<AnsiString> played;

private:
    ScopedHandler<Handler> installed_;
};

} // namespace sound
