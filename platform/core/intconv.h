#pragma once

#include "ansi.h"

#include <cstdint>

// Text to whole number, with the run time's rules: leading blanks, one optional
// sign, then decimal digits or hexadecimal digits after "$" or "0x"/"0X"; the
// whole text must be used. Anything else raises EConvertError with the text.
// Hexadecimal gives the bit pattern of the width (so $FFFFFFFF is -1 in 32 bits).
int64_t StrToInt64(const AnsiString &text);
int32_t StrToInt(const AnsiString &text);
