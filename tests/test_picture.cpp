// The picture loader: JPEG pictures through libjpeg (baseline, progressive,
// greyscale, cut short, damaged), Windows bitmaps, the kinds that give no
// bitmap, and the loader's error messages.

#include "errors.h"
#include "picture.h"
#include "testsupport.h"

#include <QBuffer>
#include <QTest>

#include <cstdio>

#include <jpeglib.h>
// libjpeg's message codes, to check that errors carry them.
#include <jerror.h>

namespace {

enum class JpegKind { Baseline, Progressive, Greyscale, Cmyk };

// A test picture: four colour quadrants, so that decoding errors show.
QColor quadrantColour(int x, int y, int width, int height) {
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    if (!right && !bottom)
        return QColor(220, 30, 30);
    if (right && !bottom)
        return QColor(30, 200, 40);
    if (!right && bottom)
        return QColor(40, 50, 210);
    return QColor(240, 240, 240);
}

// Encodes the quadrant picture with libjpeg's compressor.
QByteArray encodeJpeg(int width, int height, JpegKind kind) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    switch (kind) {
    case JpegKind::Greyscale:
        info.input_components = 1;
        info.in_color_space = JCS_GRAYSCALE;
        break;
    case JpegKind::Cmyk:
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        break;
    default:
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        break;
    }
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (kind == JpegKind::Progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(width) * size_t(info.input_components));
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const QColor colour = quadrantColour(x, y, width, height);
            unsigned char *pixel = &row[size_t(x) * size_t(info.input_components)];
            if (kind == JpegKind::Greyscale) {
                pixel[0] = (unsigned char)qGray(colour.rgb());
            } else if (kind == JpegKind::Cmyk) {
                pixel[0] = (unsigned char)(255 - colour.red());
                pixel[1] = (unsigned char)(255 - colour.green());
                pixel[2] = (unsigned char)(255 - colour.blue());
                pixel[3] = 0;
            } else {
                pixel[0] = (unsigned char)colour.red();
                pixel[1] = (unsigned char)colour.green();
                pixel[2] = (unsigned char)colour.blue();
            }
        }
        JSAMPROW rowPointer = row.data();
        jpeg_write_scanlines(&info, &rowPointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char *>(buffer), int(size));
    std::free(buffer);
    return bytes;
}

bool near(QRgb pixel, const QColor &wanted, int tolerance = 12) {
    return std::abs(qRed(pixel) - wanted.red()) <= tolerance &&
           std::abs(qGreen(pixel) - wanted.green()) <= tolerance &&
           std::abs(qBlue(pixel) - wanted.blue()) <= tolerance;
}

// Samples the middle of each quadrant.
void verifyQuadrants(const QImage &image) {
    const int w = image.width();
    const int h = image.height();
    const QPoint samples[] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    for (const QPoint &at : samples) {
        const QRgb pixel = image.pixel(at);
        QVERIFY2(near(pixel, quadrantColour(at.x(), at.y(), w, h)),
                 qPrintable(QStringLiteral("pixel at %1,%2 is %3")
                                .arg(at.x())
                                .arg(at.y())
                                .arg(QColor(pixel).name())));
    }
}

QString jpegError(int code) {
    return QStringLiteral("JPEG error #%1").arg(code);
}

AnsiString local(const QString &path) {
    return ansi::fromQt(path);
}

// The message of the loader's error, or an empty string when it loaded.
QString loadError(const QString &path) {
    try {
        LoadPictureFile(local(path));
    } catch (const EAppError &error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestPicture : public QObject {
    Q_OBJECT

private slots:
    void decodesJpegPictures_data();
    void decodesJpegPictures();
    void greyscaleJpegComesOutInColourFormat();
    void jpegCutShortGivesAPictureOrAnError();
    void damagedJpegRaisesItsMessageCodeAndTheProgramGoesOn();
    void cmykJpegIsRefusedCleanly();
    void jpegTooLargeToHoldIsRefused();
    void extensionChoosesTheKindWithoutRegardToCase();
    void loaderErrorMessages();
};

void TestPicture::decodesJpegPictures_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("progressive");
    QTest::newRow("baseline") << 64 << 48 << false;
    QTest::newRow("baseline, odd size") << 333 << 217 << false;
    QTest::newRow("progressive") << 120 << 90 << true;
    QTest::newRow("progressive, odd size") << 101 << 77 << true;
}

void TestPicture::decodesJpegPictures() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, progressive);
    testsupport::ScratchDir dir;
    dir.write("foto.jpg",
              encodeJpeg(width, height, progressive ? JpegKind::Progressive : JpegKind::Baseline));
    const TPicture picture = LoadPictureFile(local(dir.filePath("foto.jpg")));
    QCOMPARE(picture.kind, TPicture::Kind::Jpeg);
    QCOMPARE(picture.image.size(), QSize(width, height));
    QCOMPARE(picture.image.format(), QImage::Format_RGB888);
    verifyQuadrants(picture.image);
}

void TestPicture::greyscaleJpegComesOutInColourFormat() {
    testsupport::ScratchDir dir;
    dir.write("gris.jpg", encodeJpeg(80, 60, JpegKind::Greyscale));
    const TPicture picture = LoadPictureFile(local(dir.filePath("gris.jpg")));
    QCOMPARE(picture.image.format(), QImage::Format_RGB888);
    QCOMPARE(picture.image.size(), QSize(80, 60));
    const QRgb topLeft = picture.image.pixel(20, 15);
    QCOMPARE(qRed(topLeft), qGreen(topLeft));
    QCOMPARE(qGreen(topLeft), qBlue(topLeft));
    QVERIFY(std::abs(qRed(topLeft) - qGray(quadrantColour(0, 0, 80, 60).rgb())) <= 6);
}

void TestPicture::jpegCutShortGivesAPictureOrAnError() {
    testsupport::ScratchDir dir;
    const QByteArray whole = encodeJpeg(200, 150, JpegKind::Baseline);

    // Cut in the picture data: what was read shows, the rest is filled.
    dir.write("mitad.jpg", whole.left(whole.size() / 2));
    const TPicture half = LoadPictureFile(local(dir.filePath("mitad.jpg")));
    QCOMPARE(half.image.size(), QSize(200, 150));
    QVERIFY(near(half.image.pixel(50, 20), quadrantColour(50, 20, 200, 150)));

    // Cut in the header: no picture, a clean error.
    dir.write("cabecera.jpg", whole.left(60));
    QVERIFY(loadError(dir.filePath("cabecera.jpg")).startsWith(QStringLiteral("JPEG error #")));

    // A progressive picture cut short also decodes as far as it goes.
    const QByteArray progressive = encodeJpeg(200, 150, JpegKind::Progressive);
    dir.write("progresiva.jpg", progressive.left(progressive.size() * 2 / 3));
    QCOMPARE(LoadPictureFile(local(dir.filePath("progresiva.jpg"))).image.size(), QSize(200, 150));
}

void TestPicture::damagedJpegRaisesItsMessageCodeAndTheProgramGoesOn() {
    testsupport::ScratchDir dir;
    testsupport::ErrorRecorder errors;
    dir.write("ruido.jpg", QByteArray("this is no picture at all, just text"));
    QVERIFY(!runHandler([&] { LoadPictureFile(local(dir.filePath("ruido.jpg"))); }));
    QCOMPARE(errors.messages, QStringList{jpegError(JERR_NO_SOI)});

    // Damage inside the header of a real picture (its frame header's
    // precision byte) gives libjpeg's own code for it.
    QByteArray damaged = encodeJpeg(64, 48, JpegKind::Baseline);
    const int frame = damaged.indexOf("\xFF\xC0");
    QVERIFY(frame > 0);
    damaged[frame + 4] = 7;
    dir.write("danada.jpg", damaged);
    QCOMPARE(loadError(dir.filePath("danada.jpg")), jpegError(JERR_BAD_PRECISION));

    // The decoder is whole afterwards.
    dir.write("buena.jpg", encodeJpeg(64, 48, JpegKind::Baseline));
    verifyQuadrants(LoadPictureFile(local(dir.filePath("buena.jpg"))).image);
}

void TestPicture::cmykJpegIsRefusedCleanly() {
    testsupport::ScratchDir dir;
    dir.write("cmyk.jpg", encodeJpeg(40, 30, JpegKind::Cmyk));
    QCOMPARE(loadError(dir.filePath("cmyk.jpg")), jpegError(JERR_CONVERSION_NOTIMPL));
}

void TestPicture::jpegTooLargeToHoldIsRefused() {
    testsupport::ScratchDir dir;
    QByteArray huge = encodeJpeg(64, 48, JpegKind::Baseline);
    const int frame = huge.indexOf("\xFF\xC0");
    QVERIFY(frame > 0);
    // Height and width of 60000 pixels in the frame header.
    huge[frame + 5] = char(0xEA);
    huge[frame + 6] = char(0x60);
    huge[frame + 7] = char(0xEA);
    huge[frame + 8] = char(0x60);
    dir.write("enorme.jpg", huge);
    QCOMPARE(loadError(dir.filePath("enorme.jpg")), QStringLiteral("Out of memory"));
}

void TestPicture::extensionChoosesTheKindWithoutRegardToCase() {
    testsupport::ScratchDir dir;
    const QByteArray jpeg = encodeJpeg(32, 24, JpegKind::Baseline);
    dir.write("a.JPG", jpeg);
    dir.write("b.Jpeg", jpeg);
    QImage bitmap(30, 20, QImage::Format_RGB888);
    bitmap.fill(QColor(10, 20, 30));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    bitmap.save(&buffer, "BMP");
    dir.write("c.Bmp", bmp);
    dir.write("d.ico", QByteArray("icon"));
    dir.write("e.EMF", QByteArray("metafile"));
    dir.write("f.wmf", QByteArray("metafile"));

    QCOMPARE(LoadPictureFile(local(dir.filePath("a.JPG"))).kind, TPicture::Kind::Jpeg);
    QCOMPARE(LoadPictureFile(local(dir.filePath("b.Jpeg"))).image.size(), QSize(32, 24));
    const TPicture fromBmp = LoadPictureFile(local(dir.filePath("c.Bmp")));
    QCOMPARE(fromBmp.kind, TPicture::Kind::Bitmap);
    QCOMPARE(fromBmp.image.pixelColor(5, 5), QColor(10, 20, 30));
    QCOMPARE(LoadPictureFile(local(dir.filePath("d.ico"))).kind, TPicture::Kind::Icon);
    const TPicture metafile = LoadPictureFile(local(dir.filePath("e.EMF")));
    QCOMPARE(metafile.kind, TPicture::Kind::Metafile);
    QVERIFY(metafile.image.isNull());
    QVERIFY(LoadPictureFile(local(dir.filePath("f.wmf"))).image.isNull());
}

void TestPicture::loaderErrorMessages() {
    testsupport::ScratchDir dir;
    const QString missing = dir.filePath("no-esta.jpg");
    QCOMPARE(loadError(missing), QStringLiteral("Cannot open file %1").arg(missing));
    dir.write("dibujo.gif", QByteArray("GIF89a"));
    QCOMPARE(loadError(dir.filePath("dibujo.gif")),
             QStringLiteral("Unknown picture file extension (.gif)"));
    dir.write("sinextension", QByteArray("x"));
    QCOMPARE(loadError(dir.filePath("sinextension")),
             QStringLiteral("Unknown picture file extension (.)"));
    dir.write("roto.bmp", QByteArray("BM but nothing after it"));
    QCOMPARE(loadError(dir.filePath("roto.bmp")), QStringLiteral("Bitmap image is not valid"));
    dir.write("vacio.jpg", QByteArray());
    QVERIFY(loadError(dir.filePath("vacio.jpg")).startsWith(QStringLiteral("JPEG error #")));
}

QTEST_MAIN(TestPicture)
#include "test_picture.moc"
