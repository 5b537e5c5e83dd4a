#include "jpeg_decoder.h"

#include "errors.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error through error_exit, which must not return.
// Ours jumps back to the setjmp of the step that called into libjpeg; those
// steps hold no C++ objects, so the jump skips no destructor.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

extern "C" void jpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorManager *>(info->err)->escape, 1);
}

// Warnings (a file cut short, a bad marker skipped) are not worth a message:
// the picture still comes out.
extern "C" void jpegQuietMessage(j_common_ptr, int) {}

struct Decoder {
    jpeg_decompress_struct info;
    JpegErrorManager errors;
};

// Pictures larger than this are refused rather than allocated (the limit of
// the toolkit's own image reader).
constexpr qint64 MaxImageBytes = qint64(256) << 20;

// Returns 0 or libjpeg's message code.
int createDecoder(Decoder &decoder) {
    decoder.info.err = jpeg_std_error(&decoder.errors.base);
    decoder.errors.base.error_exit = jpegErrorExit;
    decoder.errors.base.emit_message = jpegQuietMessage;
    if (setjmp(decoder.errors.escape))
        return decoder.errors.base.msg_code;
    jpeg_create_decompress(&decoder.info);
    return 0;
}

// Reads the header and starts decompression with the reader's options.
// Returns 0 or libjpeg's message code.
int startDecoder(Decoder &decoder, const unsigned char *data, unsigned long size) {
    jpeg_decompress_struct &info = decoder.info;
    if (setjmp(decoder.errors.escape))
        return decoder.errors.base.msg_code;
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = 1;
    info.quantize_colors = FALSE;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    info.buffered_image = FALSE;
    jpeg_start_decompress(&info);
    return 0;
}

// Reads every scanline into `bits` (rows `stride` bytes apart) and finishes.
// Returns 0 or libjpeg's message code.
int readScanlines(Decoder &decoder, unsigned char *bits, size_t stride) {
    jpeg_decompress_struct &info = decoder.info;
    if (setjmp(decoder.errors.escape))
        return decoder.errors.base.msg_code;
    constexpr int MaxRows = 16;
    JSAMPROW rows[MaxRows];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION wanted =
            std::min<JDIMENSION>(info.output_height - info.output_scanline, JDIMENSION(MaxRows));
        for (JDIMENSION i = 0; i < wanted; ++i)
            rows[i] = bits + size_t(info.output_scanline + i) * stride;
        jpeg_read_scanlines(&info, rows, wanted);
    }
    jpeg_finish_decompress(&info);
    return 0;
}

[[noreturn]] void raiseJpegError(int code) {
    throw EAppError(formatMessage("JPEG error #%d", {QString::number(code)}));
}

// Destroys the libjpeg decompressor on every way out of the C++ side.
class DecoderGuard {
public:
    explicit DecoderGuard(Decoder &decoder) : decoder_(decoder) {}
    ~DecoderGuard() { jpeg_destroy_decompress(&decoder_.info); }
    DecoderGuard(const DecoderGuard &) = delete;
    DecoderGuard &operator=(const DecoderGuard &) = delete;

private:
    Decoder &decoder_;
};

} // namespace

QImage DecodeJpeg(const QByteArray &data) {
    Decoder decoder{};
    DecoderGuard guard(decoder);
    if (const int code = createDecoder(decoder))
        raiseJpegError(code);
    if (const int code =
            startDecoder(decoder, reinterpret_cast<const unsigned char *>(data.constData()),
                         static_cast<unsigned long>(data.size())))
        raiseJpegError(code);
    const qint64 width = decoder.info.output_width;
    const qint64 height = decoder.info.output_height;
    if (width * height * 3 > MaxImageBytes)
        throw EAppError(QStringLiteral("Out of memory"));
    QImage image(int(width), int(height), QImage::Format_RGB888);
    if (image.isNull())
        throw EAppError(QStringLiteral("Out of memory"));
    if (const int code = readScanlines(decoder, image.bits(), size_t(image.bytesPerLine())))
        raiseJpegError(code);
    return image;
}
