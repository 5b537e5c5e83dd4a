// The intro screen: its three modes from the title's settings, the frame
// arithmetic, the intro video on the shared alias, the picture and the hand-over
// to the viewer.

#include "clickcontrols.h"
#include "display.h"
#include "formaentrada.h"
#include "mci.h"
#include "mvutil.h"
#include "testsupport.h"
#include "visor.h"

#include <QTimer>
#include <QtTest>
#include <memory>

using testsupport::ErrorRecorder;
using testsupport::ScratchDir;
using Commands = std::vector<AnsiString>;

namespace {

const char *const kTextSettings = "linea23=no\nlinea1=si\nlinea2=uno\nlinea3=dos\nlinea4=tres\n"
                                  "linea5=cuatro\nlinea6=cinco\nlinea7=seis\nlinea8=siete\n";

} // namespace

class TestIntro : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchDir> scratch;
    std::unique_ptr<ErrorRecorder> errors;
    std::unique_ptr<mci::RecordingMci> device;
    AnsiString modeReply;
    bool openFails = false;
    bool videoOpen = false;
    TFormEntrada *intro = nullptr;

    void settings(const QByteArray &lines) {
        scratch->write(QStringLiteral("Dezezi.ini"), "[prueba]\n" + lines);
    }

    void writeIntroPicture() {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        picture.save(scratch->filePath(QStringLiteral("entrada.bmp")), "BMP");
    }

    // Creates the intro as start-up does, after writing its settings.
    void create(const QByteArray &lines) {
        settings(lines);
        intro = new TFormEntrada;
        FormEntrada = intro;
        QVERIFY(runHandler([this] { intro->FormCreate(); }));
    }

    bool shownIn(QWidget *control) { return control->isVisibleTo(intro); }

    bool showingPicture() {
        return !intro->Image1->Picture().isNull() &&
               intro->Image1->geometry() == QRect(TFormEntrada::FrameOrigin(), QSize(640, 480)) &&
               !shownIn(intro->Label1) && !shownIn(intro->Video);
    }

    AnsiString windowCommand() {
        return "Window MiVideo1 handle " + std::to_string(intro->Video->winId()) + " state show ";
    }

private slots:
    void init() {
        scratch = std::make_unique<ScratchDir>(true);
        errors = std::make_unique<ErrorRecorder>();
        device = std::make_unique<mci::RecordingMci>();
        modeReply = "playing";
        openFails = false;
        videoOpen = false;
        device->answer = [this](const AnsiString &command, AnsiString &reply) -> uint32_t {
            if (command.rfind("open ", 0) == 0) {
                videoOpen = !openFails;
                return openFails ? 275 : 0;
            }
            // As the device: a closed alias answers nothing.
            if (!videoOpen)
                return 263;
            if (command == "Close MiVideo1")
                videoOpen = false;
            else if (command == "status MiVideo1 mode")
                reply = modeReply;
            return 0;
        };
        BaseDir = ansi::fromQt(scratch->path()) + "/";
        TitleName = "prueba";
        CloseAfterLaunch = false;
        display::setScreenSizeOverride(QSize(640, 480));
        formaVisor = new TformaVisor;
        formaVisor->videoTimer->stop();
        writeIntroPicture();
    }

    void cleanup() {
        delete intro;
        intro = nullptr;
        FormEntrada = nullptr;
        delete formaVisor;
        formaVisor = nullptr;
        display::setScreenSizeOverride(QSize());
        device.reset();
        errors.reset();
        scratch.reset();
        CloseAfterLaunch = false;
    }

    void windowIsABlackBorderlessMaximisedWindow() {
        create("");
        QCOMPARE(intro->windowTitle(), QStringLiteral("U"));
        QVERIFY(intro->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(intro->windowState() & Qt::WindowMaximized);
        QCOMPARE(intro->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(intro->Image1->geometry(), QRect(24, 120, 89, 41));
        QVERIFY(shownIn(intro->Image1));
        QVERIFY(!shownIn(intro->Label1));
        QVERIFY(!shownIn(intro->Video));
        QCOMPARE(intro->Tiempo->interval(), 100);
        QCOMPARE(intro->VideoSalida->interval(), 1000);
        QCOMPARE(intro->CambioPantalla->interval(), 100);
    }

    void frameOriginFollowsTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QPoint>("origin");
        QTest::newRow("640 x 480") << QSize(640, 480) << QPoint(0, 0);
        QTest::newRow("1024 x 768") << QSize(1024, 768) << QPoint(192, 144);
        QTest::newRow("1023 x 767") << QSize(1023, 767) << QPoint(191, 143);
        QTest::newRow("600 x 400") << QSize(600, 400) << QPoint(-20, -40);
        QTest::newRow("639 x 479 truncates toward zero") << QSize(639, 479) << QPoint(0, 0);
    }

    void frameOriginFollowsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(QPoint, origin);
        display::setScreenSizeOverride(screen);
        create(kTextSettings);
        intro->show();
        QCOMPARE(intro->Label1->pos(), QPoint(40, 256) + origin);
        QCOMPARE(intro->Video->geometry(), QRect(QPoint(160, 50) + origin, QSize(320, 200)));
        intro->FormClick();
        QCOMPARE(intro->Image1->geometry(), QRect(origin, QSize(640, 480)));
    }

    void skipModeHandsOverAfterATenthOfASecond_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::newRow("no settings") << QByteArray();
        QTest::newRow("linea23 missing, linea1 si") << QByteArray("linea1=SI\n");
        QTest::newRow("linea23 other") << QByteArray("linea23=NO!\nlinea1=SI\n");
    }

    void skipModeHandsOverAfterATenthOfASecond() {
        QFETCH(QByteArray, lines);
        create(lines);
        QVERIFY(intro->CambioPantalla->isActive());
        QVERIFY(!intro->Tiempo->isActive());
        QVERIFY(!intro->IntroVideoPending());
        intro->show();
        QVERIFY(device->commands.empty());
        QTRY_VERIFY_WITH_TIMEOUT(formaVisor->isVisible(), 2000);
        QVERIFY(!intro->isVisible());
        QVERIFY(!intro->CambioPantalla->isActive());
        QVERIFY(errors->messages.isEmpty());
    }

    void closeAfterLaunchComesFromLinea22_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<bool>("closeAfterLaunch");
        QTest::newRow("SI, intro skipped") << QByteArray("linea22=SI\n") << true;
        QTest::newRow("si with the intro") << QByteArray("linea22=si\nlinea23=NO\n") << true;
        QTest::newRow("SI with more") << QByteArray("linea22=SI NO\n") << false;
        QTest::newRow("missing") << QByteArray("linea23=NO\n") << false;
    }

    void closeAfterLaunchComesFromLinea22() {
        QFETCH(QByteArray, lines);
        QFETCH(bool, closeAfterLaunch);
        create(lines);
        QCOMPARE(CloseAfterLaunch, closeAfterLaunch);
    }

    void pictureModeShowsThePictureAfterATenthOfASecond() {
        create("linea23=No\nlinea1=no\n");
        QVERIFY(intro->Tiempo->isActive());
        QVERIFY(!intro->CambioPantalla->isActive());
        intro->show();
        QVERIFY(device->commands.empty());
        QTRY_VERIFY_WITH_TIMEOUT(showingPicture(), 2000);
        QVERIFY(!intro->Tiempo->isActive());
        QCOMPARE(intro->Image1->Picture().size(), QSize(64, 48));

        // A click elsewhere loads the picture again; a click on it hands over.
        QTest::mouseClick(intro, Qt::LeftButton, {}, QPoint(700, 500));
        QVERIFY(showingPicture());
        QVERIFY(intro->isVisible());
        QTest::mouseClick(intro->Image1, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(!intro->isVisible());
        QVERIFY(formaVisor->isVisible());
        QVERIFY(errors->messages.isEmpty());
    }

    void missingPictureIsReportedOnceAndStillHandsOver() {
        QFile::remove(scratch->filePath(QStringLiteral("entrada.bmp")));
        create("linea23=NO\n");
        intro->show();
        QTRY_VERIFY_WITH_TIMEOUT(!intro->Tiempo->isActive(), 2000);
        QTest::qWait(300);
        QCOMPARE(errors->messages, QStringList{"Cannot open file entrada.bmp"});
        QCOMPARE(intro->Image1->geometry(), QRect(0, 0, 640, 480));
        QTest::mouseClick(intro->Image1, Qt::LeftButton, {}, QPoint(300, 300));
        QVERIFY(formaVisor->isVisible());
    }

    void textModeShowsTheSevenLines() {
        create(kTextSettings);
        QVERIFY(intro->IntroVideoPending());
        QVERIFY(!intro->Tiempo->isActive());
        QVERIFY(!intro->CambioPantalla->isActive());
        QVERIFY(shownIn(intro->Label1));
        QCOMPARE(intro->Label1->Caption(),
                 AnsiString("uno\rdos\rtres\rcuatro\rcinco\r\rseis\r\rsiete\r"));
    }

    void missingLinesKeepTheirPlaces() {
        create("linea23=NO\nlinea1=SI\nlinea3=dos\nlinea8=siete\n");
        QCOMPARE(intro->Label1->Caption(), AnsiString("\rdos\r\r\r\r\r\r\rsiete\r"));
    }

    void labelShowsAccessKeysAndLineBreaks() {
        QCOMPARE(labelRichText("&Hola\rA && B"),
                 QStringLiteral("<div style=\"white-space:pre\"><u>H</u>ola<br/>A &amp; B</div>"));
    }

    void introVideoPlaysInThePanelWhenShown() {
        create(kTextSettings);
        QVERIFY(device->commands.empty());
        intro->show();
        QCOMPARE(device->commands,
                 (Commands{"open videos\\dorvik.avi type AVIVideo alias MiVideo1", windowCommand(),
                           "set MiVideo1 time format ms", "status MiVideo1 length",
                           "put MiVideo1 destination", "play MiVideo1"}));
        QVERIFY(!intro->IntroVideoPending());
        QVERIFY(intro->VideoSalida->isActive());
        QVERIFY(shownIn(intro->Video));
        QVERIFY(shownIn(intro->Label1));

        // Shown again, it does not play again.
        device->commands.clear();
        intro->hide();
        intro->show();
        QVERIFY(device->commands.empty());
    }

    void showingReadsLinea23Again() {
        create(kTextSettings);
        settings("linea23=SI\nlinea1=SI\n");
        intro->show();
        QVERIFY(device->commands.empty());
    }

    void videoEndShowsThePicture() {
        create(kTextSettings);
        intro->show();
        device->commands.clear();

        intro->VideoSalidaTimer();
        QCOMPARE(device->commands, Commands{"status MiVideo1 mode"});
        QVERIFY(shownIn(intro->Video));

        device->commands.clear();
        modeReply = "Stopped";
        intro->VideoSalidaTimer();
        QCOMPARE(device->commands, (Commands{"status MiVideo1 mode", "Close MiVideo1"}));
        QVERIFY(!intro->VideoSalida->isActive());
        QVERIFY(showingPicture());
    }

    void videoEndIsPolledEverySecond() {
        create(kTextSettings);
        intro->show();
        modeReply = "stopped";
        QTRY_VERIFY_WITH_TIMEOUT(showingPicture(), 3000);
        QCOMPARE(device->commands.back(), AnsiString("Close MiVideo1"));
    }

    void clickDuringTheVideoShowsThePicture_data() {
        QTest::addColumn<int>("where");
        QTest::newRow("window") << 0;
        QTest::newRow("text") << 1;
        QTest::newRow("video panel") << 2;
    }

    void clickDuringTheVideoShowsThePicture() {
        QFETCH(int, where);
        create(kTextSettings);
        intro->show();
        device->commands.clear();
        QWidget *target = where == 0   ? static_cast<QWidget *>(intro)
                          : where == 1 ? static_cast<QWidget *>(intro->Label1)
                                       : static_cast<QWidget *>(intro->Video);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(device->commands, Commands{"Close MiVideo1"});
        QVERIFY(!intro->VideoSalida->isActive());
        QVERIFY(showingPicture());
    }

    void failedVideoLeavesTheTextAndTheBlackPanel() {
        openFails = true;
        create(kTextSettings);
        intro->show();
        QCOMPARE(device->commands,
                 Commands{"open videos\\dorvik.avi type AVIVideo alias MiVideo1"});
        QVERIFY(!intro->VideoSalida->isActive());
        QVERIFY(shownIn(intro->Video));
        QVERIFY(shownIn(intro->Label1));

        // A click closes the device all the same; its error is not looked at.
        QTest::mouseClick(intro, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(device->commands.back(), AnsiString("Close MiVideo1"));
        QVERIFY(showingPicture());
        QVERIFY(errors->messages.isEmpty());
    }

    void clickOnTheEmptyPictureBoxHandsOverAtOnce() {
        create(kTextSettings);
        intro->show();
        QCOMPARE(intro->childAt(30, 130), static_cast<QWidget *>(intro->Image1));
        QTest::mouseClick(intro->Image1, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!intro->isVisible());
        QVERIFY(formaVisor->isVisible());
        // The video goes on in the hidden window until its end.
        QVERIFY(intro->VideoSalida->isActive());
        modeReply = "stopped";
        intro->VideoSalidaTimer();
        QVERIFY(!intro->VideoSalida->isActive());
        QVERIFY(!intro->Image1->Picture().isNull());
    }

    // The viewer polls the same alias and may close the video before the
    // intro's own poll sees its end.
    void videoClosedUnderTheIntroStillShowsThePicture() {
        create(kTextSettings);
        intro->show();
        modeReply = "stopped";
        formaVisor->videoTimerTimer();
        QVERIFY(!videoOpen);
        QTRY_VERIFY_WITH_TIMEOUT(showingPicture(), 5000);
        QVERIFY(!intro->VideoSalida->isActive());
    }
};

QTEST_MAIN(TestIntro)
#include "test_intro.moc"
