#pragma once

#include "ansi.h"

#include <cstddef>
#include <functional>
#include <string>

// Replaces a file's content as one step: the bytes go to a temporary file in
// the same folder, which is flushed to disk and renamed over the old file. On
// any failure the old file stays exactly as it was, the temporary file is
// removed and EInOutError is raised. Creates the folder when it is missing.
void WriteFileAtomically(const AnsiString &path, const std::string &bytes);

namespace atomicfile {
// Test seam: called before each block is written with the bytes written so
// far; a non-zero result fails the write with that errno.
using FailureInjection = std::function<int(size_t bytesWritten)>;
void setFailureInjection(FailureInjection injection);
} // namespace atomicfile
