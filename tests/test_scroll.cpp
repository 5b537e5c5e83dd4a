// The picture viewer: where a picture is drawn, its scroll bars, and what a
// picture that cannot be shown does.

#include "display.h"
#include "scroll.h"
#include "testsupport.h"

#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

using testsupport::ErrorRecorder;
using testsupport::ScratchDir;

namespace {

// Every pixel tells where it came from; none is black.
QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 128));
    return image;
}

QRgb black() {
    return qRgb(0, 0, 0);
}

} // namespace

class TestScroll : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchDir> scratch;
    std::unique_ptr<ErrorRecorder> errors;

    QString picture(const QString &name, const QImage &image, const char *format) {
        const QString path = scratch->filePath(name);
        if (!image.save(path, format))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QString file(const QString &name, const QByteArray &bytes) {
        scratch->write(name, bytes);
        return scratch->filePath(name);
    }

    // Shows the viewer modally with `path`; `inspect` runs while it is shown,
    // then a click closes it.
    void show(const QString &path, const std::function<void()> &inspect) {
        Scrollbmp->PictureFile = ansi::fromQt(path);
        QTimer::singleShot(60, Scrollbmp, [&] {
            inspect();
            QTest::mouseClick(Scrollbmp, Qt::LeftButton, {}, QPoint(1, 1));
        });
        Scrollbmp->ShowModal();
    }

    QImage shown() { return Scrollbmp->grab().toImage(); }

private slots:
    void init() {
        scratch = std::make_unique<ScratchDir>();
        errors = std::make_unique<ErrorRecorder>();
        Scrollbmp = new TScrollbmp;
        Scrollbmp->FormCreate();
    }

    void cleanup() {
        delete Scrollbmp;
        Scrollbmp = nullptr;
        display::setScreenSizeOverride(QSize());
        errors.reset();
        scratch.reset();
    }

    void windowIsABlackBorderlessMaximisedWindow() {
        QVERIFY(Scrollbmp->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(Scrollbmp->windowState() & Qt::WindowMaximized);
        QCOMPARE(Scrollbmp->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(Scrollbmp->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(Scrollbmp->PictureBitmap.isNull());
        QCOMPARE(Scrollbmp->ScrollOrigin, QPoint(0, 0));
    }

    void smallPictureIsCentredOnTheScreen() {
        display::setScreenSizeOverride(QSize(1024, 768));
        const QImage image = gradient(799, 599);
        QImage seen;
        bool bars = true;
        show(picture("foto.bmp", image, "BMP"), [&] {
            seen = shown();
            bars = Scrollbmp->HorzScrollBar->isVisible() || Scrollbmp->VertScrollBar->isVisible();
        });
        QVERIFY(errors->messages.isEmpty());
        QVERIFY(!bars);
        QCOMPARE(seen.pixel(112, 84), image.pixel(0, 0));
        QCOMPARE(seen.pixel(111, 84), black());
        QCOMPARE(seen.pixel(112, 83), black());
        QCOMPARE(seen.pixel(300, 200), image.pixel(188, 116));
    }

    void centringCanBeNegativeOnASmallScreen() {
        display::setScreenSizeOverride(QSize(640, 480));
        const QImage image = gradient(700, 500);
        QImage seen;
        show(picture("foto.bmp", image, "BMP"), [&] { seen = shown(); });
        QCOMPARE(seen.pixel(0, 0), image.pixel(30, 10));
        QCOMPARE(Scrollbmp->ScrollOrigin, QPoint(0, 0));
    }

    void pictureOfFullWidthOrHeightIsDrawnFromTheCorner_data() {
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<QSize>("windowSize");
        // The maximised window is at least 800 x 600.
        QTest::newRow("800 x 599") << QSize(800, 599) << QSize(800, 599);
        QTest::newRow("799 x 600") << QSize(799, 600) << QSize(799, 600);
    }

    void pictureOfFullWidthOrHeightIsDrawnFromTheCorner() {
        QFETCH(QSize, pictureSize);
        QFETCH(QSize, windowSize);
        display::setScreenSizeOverride(QSize(1024, 768));
        const QSize maximised = Scrollbmp->screen()->geometry().size();
        QVERIFY(maximised.width() >= 800 && maximised.height() >= 600);
        const QImage image = gradient(pictureSize.width(), pictureSize.height());
        QImage seen;
        QSize size;
        show(picture("foto.bmp", image, "BMP"), [&] {
            seen = shown();
            size = Scrollbmp->size();
        });
        QCOMPARE(size, windowSize);
        QCOMPARE(seen.pixel(0, 0), image.pixel(0, 0));
        QCOMPARE(seen.pixel(150, 100), image.pixel(150, 100));
    }

    void wideLowPictureShrinksTheClientToItsHeight() {
        const QImage image = gradient(900, 500);
        QSize size;
        bool horizontal = false, vertical = true;
        show(picture("ancha.bmp", image, "BMP"), [&] {
            size = Scrollbmp->ClientRect().size();
            horizontal = Scrollbmp->HorzScrollBar->isVisible();
            vertical = Scrollbmp->VertScrollBar->isVisible();
        });
        QVERIFY(horizontal);
        QVERIFY(!vertical);
        QCOMPARE(size, QSize(800, 500));
    }

    void largePictureScrollsInStepsOfTenPixels() {
        const QImage image = gradient(2000, 1500);
        QImage first, right, down;
        QPoint origin;
        QRect client;
        int step = 0;
        show(picture("grande.bmp", image, "BMP"), [&] {
            client = Scrollbmp->ClientRect();
            step = Scrollbmp->HorzScrollBar->singleStep();
            first = shown();
            Scrollbmp->HorzScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            right = shown();
            Scrollbmp->VertScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            Scrollbmp->VertScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            down = shown();
            origin = Scrollbmp->ScrollOrigin;
        });
        QCOMPARE(step, 10);
        const QSize maximised = Scrollbmp->screen()->geometry().size();
        QCOMPARE(client, QRect(QPoint(0, 0), maximised - QSize(16, 16)));
        QCOMPARE(first.pixel(0, 0), image.pixel(0, 0));
        QCOMPARE(right.pixel(0, 0), image.pixel(10, 0));
        QCOMPARE(down.pixel(0, 0), image.pixel(10, 20));
        QCOMPARE(down.pixel(client.right(), client.bottom()),
                 image.pixel(client.right() + 10, client.bottom() + 20));
        QCOMPARE(origin, QPoint(10, 20));
    }

    void showingAgainDecodesAgainFromTheTopLeft() {
        const QString path = picture("grande.bmp", gradient(2000, 1500), "BMP");
        show(path, [&] {
            Scrollbmp->HorzScrollBar->setValue(500);
            Scrollbmp->VertScrollBar->setValue(300);
        });
        const QImage other = gradient(1500, 1200).mirrored();
        picture("grande.bmp", other, "BMP");
        QImage seen;
        QPoint positions;
        show(path, [&] {
            seen = shown();
            positions = {Scrollbmp->HorzScrollBar->value(), Scrollbmp->VertScrollBar->value()};
        });
        QCOMPARE(positions, QPoint(0, 0));
        QCOMPARE(Scrollbmp->PictureBitmap.size(), QSize(1500, 1200));
        QCOMPARE(seen.pixel(0, 0), other.pixel(0, 0));
    }

    void jpegPictureIsDecoded() {
        display::setScreenSizeOverride(QSize(800, 600));
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(qRgb(200, 40, 40));
        QImage seen;
        show(picture("foto.JPG", image, "JPG"), [&] { seen = shown(); });
        QVERIFY(errors->messages.isEmpty());
        QCOMPARE(Scrollbmp->PictureBitmap.size(), QSize(200, 100));
        const QColor centre = seen.pixelColor(400, 300);
        QVERIFY2(qAbs(centre.red() - 200) < 8 && qAbs(centre.green() - 40) < 8,
                 qPrintable(centre.name()));
        QCOMPARE(seen.pixel(299, 249), black());
    }

    void pictureThatCannotBeShownIsReportedOnce_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "nada.jpg" << QByteArray() << "Cannot open file %1";
        QTest::newRow("unknown extension")
            << "foto.gif" << QByteArray("GIF89a") << "Unknown picture file extension (.gif)";
        QTest::newRow("no extension")
            << "foto" << QByteArray("x") << "Unknown picture file extension (.)";
        QTest::newRow("damaged bitmap")
            << "foto.bmp" << QByteArray("BM not a bitmap") << "Bitmap image is not valid";
        QTest::newRow("damaged jpeg")
            << "foto.jpg" << QByteArray("\xFF\xD8\xFF\xE0 not a jpeg at all") << "JPEG error #";
    }

    void pictureThatCannotBeShownIsReportedOnce() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const QString path = bytes.isEmpty() ? scratch->filePath(name) : file(name, bytes);
        bool stillShown = false, bars = true;
        show(path, [&] {
            // Coming back to the window (after the error box) loads nothing again.
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(Scrollbmp, &activate);
            stillShown = Scrollbmp->isVisible();
            bars = Scrollbmp->HorzScrollBar->isVisible() || Scrollbmp->VertScrollBar->isVisible();
        });
        QCOMPARE(errors->messages.size(), 1);
        const QString expected =
            message.contains(QLatin1String("%1")) ? message.arg(path) : message;
        QVERIFY2(errors->messages.first().startsWith(expected),
                 qPrintable(errors->messages.first()));
        QVERIFY(stillShown);
        QVERIFY(!bars);
        QVERIFY(Scrollbmp->PictureBitmap.isNull());
        QVERIFY(!Scrollbmp->isVisible());
    }

    void iconsAndMetafilesShowNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("ico") << "icono.ico";
        QTest::newRow("emf") << "dibujo.EMF";
        QTest::newRow("wmf") << "dibujo.wmf";
    }

    void iconsAndMetafilesShowNothing() {
        QFETCH(QString, name);
        const QString path = file(name, QByteArray(64, '\1'));
        QImage seen;
        show(path, [&] { seen = shown(); });
        QVERIFY(errors->messages.isEmpty());
        QVERIFY(Scrollbmp->PictureBitmap.isNull());
        QCOMPARE(seen.pixel(400, 300), black());
    }

    void pictureIsReplacedEvenAfterAFailure() {
        show(picture("foto.bmp", gradient(100, 100), "BMP"), [] {});
        QCOMPARE(Scrollbmp->PictureBitmap.size(), QSize(100, 100));
        show(scratch->filePath("nada.bmp"), [] {});
        QVERIFY(Scrollbmp->PictureBitmap.isNull());
    }
};

QTEST_MAIN(TestScroll)
#include "test_scroll.moc"
