#pragma once

// The media control interface: video playback driven by command strings
// ("open <path> type AVIVideo alias MiVideo1", "play MiVideo1", ...). Returns
// 0 or an error code; a reply is written NUL-terminated into `reply`, never
// more than `replySize` bytes.

#include "ansi.h"
#include "seam.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

uint32_t mciSendStringA(const AnsiString &command, char *reply, size_t replySize,
                        void *callbackWindow);

namespace mci {

using Handler = std::function<uint32_t(const AnsiString &command, char *reply, size_t replySize)>;
Handler setHandler(Handler handler);

// Test double: records the commands; `answer`, when set, gives each one's
// result and reply, otherwise the result is 0 with an empty reply.
class RecordingMci {
public:
    RecordingMci();
    std::vector<AnsiString> commands;
    std::function<uint32_t(const AnsiString &command, AnsiString &reply)> answer;

private:
    ScopedHandler<Handler> installed_;
};

} // namespace mci
