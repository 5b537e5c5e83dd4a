#pragma once

#include "ansi.h"

// The folder where the reader keeps each title's bookmark (".oer") and
// annotation (".cdb") files. It is $LECTOR_WINDOWS_DIR when that is set,
// otherwise "lector" under the XDG data home. It has no trailing "/" and is
// not created here: the writer creates it when it first saves.
AnsiString GetWindowsDirectoryA();
