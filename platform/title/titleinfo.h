#pragma once

// The runtime library's title-information call, answered from the open
// title files (found by their handles, title::titleByHandle).
//   type 13, param k * 65536 + room: the k-th information entry (from 0) into
//            the buffer; result > 0, -1 past the last entry.
//   type 13, param 0, no buffer: the number of topics.
//   type 102, param a topic number: that topic's title into the buffer;
//            result non-zero, 0 when there is no such topic.
// Text is NUL-terminated Windows-1252, never more than min(room, bufferSize)
// bytes with the NUL (bufferSize alone for type 102). A null buffer is never
// written. An unknown handle gives -1 for the entries and 0 otherwise.

#include <cstddef>
#include <cstdint>

int32_t lMVTitleGetInfo(intptr_t hTitle, int32_t infoType, int32_t param, char *buffer,
                        size_t bufferSize = 256);
