#pragma once

// LectorLinea's settings: the title's line file, "{title}.inf", one value per
// line. Lines 1 to 8 are the intro's, 9 to 16 the updates dialog's, 17 to 20
// the viewer's. Each window that needs them reads the file for itself when
// it is created; the program never writes it.

#include "ansi.h"

#include <array>
#include <string>

class TLineSettings {
public:
    static constexpr int kLines = 20;

    // Lines 1 to 20 of the file's bytes. A line ends at CR LF or at a CR
    // alone; an LF alone stays in the value. Byte 26 or the end of the bytes
    // ends the data, and every line after it is empty. Values are kept as
    // they stand, blanks included.
    static TLineSettings FromBytes(const std::string &bytes);

    // Line `number`, counted from 1; empty outside 1 to 20.
    AnsiString Line(int number) const;

private:
    std::array<AnsiString, kLines> lines_;
};

// The first command-line argument followed by ".inf", a name relative to the
// current directory.
AnsiString LineSettingsFileName();

// Reads the line file. A failing open, read or close raises the run time's I/O
// error ("File not found" when it is missing).
TLineSettings ReadLineSettings();
