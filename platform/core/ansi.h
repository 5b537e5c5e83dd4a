#pragma once

#include <QString>
#include <cstddef>
#include <string>

// The reader keeps its text as 8-bit strings in the Windows-1252 code page, as
// the titles, settings and bookmark files were written. Every string that
// crosses into Qt goes through these two functions.
using AnsiString = std::string;

namespace ansi {

QString toQt(const AnsiString &text);
// Characters outside the code page become '?'.
AnsiString fromQt(const QString &text);

// Writes `text` NUL-terminated into a caller's buffer of `size` bytes, cut to
// fit; nothing for a null or empty buffer. Returns false when the text was cut.
bool copyToBuffer(const AnsiString &text, char *buffer, size_t size);

// Upper-cases the letters a to z and nothing else.
AnsiString upperAscii(AnsiString text);

} // namespace ansi
