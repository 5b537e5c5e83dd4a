#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a JPEG file's bytes through libjpeg with the reader's options:
// 24-bit colour (greyscale pictures come out as RGB), full size, best quality.
// A damaged file raises EAppError "JPEG error #%d" with libjpeg's message
// code; a file cut short decodes as far as it goes, the rest filled grey.
QImage DecodeJpeg(const QByteArray &data);
