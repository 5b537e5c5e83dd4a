#pragma once

#include "ansi.h"

// The folder where the reader keeps each title's bookmark (".oer") and
// annotation (".cdb") files. It is $LECTOR_WINDOWS_DIR when that is set,
// otherwise "lector" under the XDG data home. It has no trailing "/" and is
// not created here: the writer creates it when it first saves.
AnsiString GetWindowsDirectoryA();

namespace windowsdir {
// Takes a relative $LECTOR_WINDOWS_DIR against the current directory, once at
// start: the current directory moves later (the open-file dialog leaves it at
// the chosen file's folder), the files must not.
void anchorToStartDirectory();
} // namespace windowsdir
