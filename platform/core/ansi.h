#pragma once

#include <QString>
#include <string>

// The reader keeps its text as 8-bit strings in the Windows-1252 code page, as
// the titles, settings and bookmark files were written. Every string that
// crosses into Qt goes through these two functions.
using AnsiString = std::string;

namespace ansi {

QString toQt(const AnsiString &text);
// Characters outside the code page become '?'.
AnsiString fromQt(const QString &text);

// Upper-cases the letters a to z and nothing else.
AnsiString upperAscii(AnsiString text);

} // namespace ansi
