#pragma once

#include "ansi.h"

#include <QString>

// Every file name of the program goes through resolvePath. Names are written
// with "\" as on the system titles are authored for; titles come from
// case-insensitive file systems, so a component that does not exist with its
// exact name falls back to a case-insensitive match in its folder
// ("wavs\Musica.WAV" finds wavs/musica.wav). A relative name is taken against
// the process's current directory.
namespace paths {

// "\" becomes "/".
AnsiString toSlashes(AnsiString path);
// The local file name for a program path: the exact name when it exists,
// otherwise the case-insensitive match, otherwise the name with "/" separators.
QString resolvePath(const AnsiString &path);
bool fileExists(const AnsiString &path);
// The current directory with one trailing "/" (the root stays "/").
AnsiString currentDirWithSeparator();

// The whole content of a file. When it cannot be read, raises "Cannot open
// file %s" with the name the system was asked for, so that the user finds it.
QByteArray readWholeFile(const AnsiString &path);

} // namespace paths
