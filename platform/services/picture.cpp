#include "picture.h"

#include "errors.h"
#include "jpeg_decoder.h"
#include "paths.h"

namespace {

AnsiString extensionOf(const AnsiString &path) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot == AnsiString::npos || (slash != AnsiString::npos && dot < slash))
        return AnsiString();
    return path.substr(dot + 1);
}

} // namespace

QImage LoadBitmapFile(const AnsiString &path) {
    const QByteArray data = paths::readWholeFile(path);
    QImage image;
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M' || !image.loadFromData(data, "BMP"))
        throw EAppError(QStringLiteral("Bitmap image is not valid"));
    return image;
}

TPicture LoadPictureFile(const AnsiString &path) {
    const AnsiString extension = ansi::upperAscii(extensionOf(path));
    TPicture picture;
    if (extension == "JPG" || extension == "JPEG") {
        picture.kind = TPicture::Kind::Jpeg;
        picture.image = DecodeJpeg(paths::readWholeFile(path));
    } else if (extension == "BMP") {
        picture.kind = TPicture::Kind::Bitmap;
        picture.image = LoadBitmapFile(path);
    } else if (extension == "ICO") {
        paths::readWholeFile(path);
        picture.kind = TPicture::Kind::Icon;
    } else if (extension == "EMF" || extension == "WMF") {
        paths::readWholeFile(path);
        picture.kind = TPicture::Kind::Metafile;
    } else {
        throw EAppError(
            formatMessage("Unknown picture file extension (.%s)", {ansi::toQt(extensionOf(path))}));
    }
    return picture;
}
