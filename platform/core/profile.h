#pragma once

#include "ansi.h"

#include <cstddef>

// Reads one value of an INI-style settings file, with the platform's rules:
// section and key names match without regard to case, blanks around the value
// are dropped, one pair of enclosing single or double quotes is removed, lines
// starting with ";" are comments. The value is cut to size - 1 characters. A
// missing file, section or key gives the default.
AnsiString GetPrivateProfileStringA(const AnsiString &section, const AnsiString &key,
                                    const AnsiString &defaultValue, size_t size,
                                    const AnsiString &fileName);
