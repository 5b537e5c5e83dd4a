#include "mci.h"

#include "seam.h"

// The media device behind the command strings (mci_player.cpp).
uint32_t desktopMciSendString(const AnsiString &command, char *reply, size_t replySize);

namespace mci {

Handler setHandler(Handler handler) {
    return replaceHandler(std::move(handler));
}

RecordingMci::RecordingMci()
    : installed_([this](const AnsiString &command, char *reply, size_t replySize) {
          commands.push_back(command);
          AnsiString text;
          const uint32_t result = answer ? answer(command, text) : 0;
          ansi::copyToBuffer(text, reply, replySize);
          return result;
      }) {}

} // namespace mci

uint32_t mciSendStringA(const AnsiString &command, char *reply, size_t replySize, void *) {
    if (const mci::Handler &handler = handlerSlot<mci::Handler>())
        return handler(command, reply, replySize);
    return desktopMciSendString(command, reply, replySize);
}
