#pragma once

#include "ansi.h"

#include <QImage>

// The toolkit's picture loader: chooses the kind of picture by the file's
// extension, without regard to case. Errors are raised as EAppError with the
// loader's messages ("Cannot open file %s", "Bitmap image is not valid",
// "Unknown picture file extension (.%s)", "JPEG error #%d").
struct TPicture {
    enum class Kind { None, Bitmap, Jpeg, Icon, Metafile };
    Kind kind = Kind::None;
    QImage image; // empty for icons and metafiles
};

// Loads a Windows bitmap file.
QImage LoadBitmapFile(const AnsiString &path);
// Loads any picture the loader knows by its extension.
TPicture LoadPictureFile(const AnsiString &path);
