#pragma once

// The command sequence on the one video device alias, "MiVideo1", that the
// viewer and the intro screen share: at most one video is open at any time.

#include "ansi.h"

#include <QWidget>
#include <cstddef>
#include <cstdint>

namespace videodevice {

// Sends a command that wants no reply; returns the device's result, 0 for success.
uint32_t Send(const AnsiString &command);
// Sends a command with a cleared reply buffer of `room` bytes; `reply` gets the
// text up to the first NUL.
uint32_t SendForReply(const AnsiString &command, size_t room, AnsiString &reply);

// "open <path> type AVIVideo alias MiVideo1", the path unchanged and unquoted.
bool Open(const AnsiString &path);
// The reply of "where MiVideo1 destination": "left top width height".
AnsiString Destination();
// Shows the open video in `window` and starts it: the window command, the time
// format, the length query, the destination and play. False when the window or
// the length command fails; the device then stays open.
bool PlayInWindow(WId window);
// True when the device reports its mode as stopped, in any case of letters; a
// failed query reads as not stopped.
bool Stopped();
// As Stopped(), and true too when no device is open under the alias any more:
// for a video that someone else may have closed in the meantime.
bool StoppedOrClosed();
// "Close MiVideo1"; the device's answer is not looked at.
void Close();
// "realize MiVideo1 background"; the answer is not looked at.
void RealizeBackground();

} // namespace videodevice
