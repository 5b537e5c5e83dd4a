#pragma once

#include "ansi.h"

#include <cstddef>
#include <functional>
#include <string>

class QFile;

// Replaces a file's content as one step: the bytes go to the file's one
// temporary file in the same folder (so a save that is killed leaves nothing
// the next save does not take over), which is flushed to disk and renamed over
// the old file. On any failure the old file stays exactly as it was, the
// temporary file is removed and EInOutError is raised. A read-only file is
// never replaced: that raises "File access denied". Creates the folder when it
// is missing.
void WriteFileAtomically(const AnsiString &path, const std::string &bytes);

// Opens a stored file to load it: for reading and writing, as the run time's
// default file mode does, or for reading alone when the file is read-only.
// Returns false in that case, so that the caller reads the file whole and
// then reports "File access denied". Any other failure raises the I/O error
// of its errno.
bool OpenStoredFile(QFile &file, const AnsiString &path);

namespace atomicfile {
// Test seam: called before each block is written with the bytes written so
// far; a non-zero result fails the write with that errno.
using FailureInjection = std::function<int(size_t bytesWritten)>;
void setFailureInjection(FailureInjection injection);
} // namespace atomicfile
