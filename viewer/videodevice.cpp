#include "videodevice.h"

#include "mci.h"

#include <cstring>
#include <vector>

namespace videodevice {

namespace {

constexpr size_t kCommandBufferSize = 256;
constexpr size_t kReplyBufferSize = 226;
// The device's answer when nothing is open under the alias.
constexpr uint32_t kNoSuchDevice = 263;

// The device's answer to the mode query; `stopped` when it reports that mode.
uint32_t QueryMode(bool &stopped) {
    AnsiString mode;
    const uint32_t result = SendForReply("status MiVideo1 mode", kReplyBufferSize, mode);
    stopped = ansi::upperAscii(mode.substr(0, 7)) == "STOPPED";
    return result;
}

} // namespace

uint32_t Send(const AnsiString &command) {
    return mciSendStringA(command, nullptr, 0, nullptr);
}

uint32_t SendForReply(const AnsiString &command, size_t room, AnsiString &reply) {
    std::vector<char> buffer(room + 1, '\0');
    const uint32_t result = mciSendStringA(command, buffer.data(), room, nullptr);
    reply.assign(buffer.data(), strnlen(buffer.data(), room));
    return result;
}

bool Open(const AnsiString &path) {
    return Send("open " + path + " type AVIVideo alias MiVideo1") == 0;
}

AnsiString Destination() {
    AnsiString reply;
    SendForReply("where MiVideo1 destination", kCommandBufferSize, reply);
    return reply;
}

bool PlayInWindow(WId window) {
    const AnsiString handle = std::to_string(quintptr(window));
    if (Send("Window MiVideo1 handle " + handle + " state show ") != 0)
        return false;
    Send("set MiVideo1 time format ms");
    AnsiString length;
    if (SendForReply("status MiVideo1 length", kCommandBufferSize - 1, length) != 0)
        return false;
    Send("put MiVideo1 destination");
    Send("play MiVideo1");
    return true;
}

bool Stopped() {
    bool stopped = false;
    QueryMode(stopped);
    return stopped;
}

bool StoppedOrClosed() {
    bool stopped = false;
    return QueryMode(stopped) == kNoSuchDevice || stopped;
}

void Close() {
    AnsiString reply;
    SendForReply("Close MiVideo1", kReplyBufferSize, reply);
}

void RealizeBackground() {
    AnsiString reply;
    SendForReply("realize MiVideo1 background", kReplyBufferSize, reply);
}

} // namespace videodevice
