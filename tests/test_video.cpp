// Video playback of the viewer: the command sequence on the shared alias, the
// placement of the video window, the end-of-video poll, the clicks that stop a
// video and silence sounds, and the video window's own clicks.

#include "clickcontrols.h"
#include "mci.h"
#include "medview.h"
#include "mvutil.h"
#include "sound.h"
#include "testsupport.h"
#include "video.h"
#include "visor.h"

#include <QFrame>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

using testsupport::ErrorRecorder;
using Commands = std::vector<AnsiString>;

namespace {

const AnsiString kOpen = "open /base/videos\\intro.avi type AVIVideo alias MiVideo1";

} // namespace

class TestVideo : public QObject {
    Q_OBJECT

    std::unique_ptr<mci::RecordingMci> device;
    std::unique_ptr<sound::RecordingSound> sounds;
    std::unique_ptr<ErrorRecorder> errors;
    AnsiString whereReply = "0 0 320 240";
    AnsiString modeReply;
    AnsiString failing; // the command that fails, by its first word(s)

    TformaVisor *viewer() { return formaVisor; }

    AnsiString windowCommand() {
        return "Window MiVideo1 handle " + std::to_string(FormaTelon->winId()) + " state show ";
    }

    // The viewer's left and panel top are fixed so that placements can be told.
    void placeViewer(int left, int panelTop) {
        viewer()->move(left, 30);
        viewer()->Panel2->move(11, panelTop);
    }

private slots:
    void init() {
        device = std::make_unique<mci::RecordingMci>();
        sounds = std::make_unique<sound::RecordingSound>();
        errors = std::make_unique<ErrorRecorder>();
        whereReply = "0 0 320 240";
        modeReply.clear();
        failing.clear();
        device->answer = [this](const AnsiString &command, AnsiString &reply) -> uint32_t {
            if (!failing.empty() && command.rfind(failing, 0) == 0)
                return 263;
            if (command == "where MiVideo1 destination")
                reply = whereReply;
            else if (command == "status MiVideo1 length")
                reply = "5000";
            else if (command == "status MiVideo1 mode")
                reply = modeReply;
            return 0;
        };
        BaseDir = "/base/";
        formaVisor = new TformaVisor;
        viewer()->videoTimer->stop();
        FormaTelon = new TFormaTelon;
        placeViewer(100, 46);
    }

    void cleanup() {
        delete FormaTelon;
        delete formaVisor;
        FormaTelon = nullptr;
        formaVisor = nullptr;
        errors.reset();
        sounds.reset();
        device.reset();
    }

    void playSendsTheCommandSequenceAndStartsThePoll() {
        QVERIFY(viewer()->PlayVideo("/base/videos\\intro.avi", 1));
        QCOMPARE(device->commands,
                 (Commands{kOpen, "where MiVideo1 destination", windowCommand(),
                           "set MiVideo1 time format ms", "status MiVideo1 length",
                           "put MiVideo1 destination", "play MiVideo1"}));
        QVERIFY(FormaTelon->isVisible());
        QVERIFY(viewer()->videoTimer->isActive());
        QCOMPARE(viewer()->videoTimer->interval(), 1000);
    }

    void replyRoomsAreTheBuffersOfTheSequence() {
        std::vector<std::pair<AnsiString, size_t>> rooms;
        const mci::Handler previous =
            mci::setHandler([&](const AnsiString &command, char *reply, size_t room) -> uint32_t {
                rooms.emplace_back(command, reply ? room : 0);
                if (command == "where MiVideo1 destination") {
                    // A reply as long as the room allows still reads as its words.
                    const std::string text = "0 0 320 240" + std::string(300, ' ');
                    std::memcpy(reply, text.data(), room - 1);
                    reply[room - 1] = '\0';
                }
                return 0;
            });
        const bool played = viewer()->PlayVideo("x.avi", 1);
        viewer()->VideoStopped();
        viewer()->RealizeVideoPalette();
        viewer()->CloseVideo();
        mci::setHandler(previous);
        QVERIFY(played);
        QCOMPARE(FormaTelon->size(), QSize(320, 240));
        const std::vector<std::pair<AnsiString, size_t>> expected{
            {"open x.avi type AVIVideo alias MiVideo1", 0},
            {"where MiVideo1 destination", 256},
            {windowCommand(), 0},
            {"set MiVideo1 time format ms", 0},
            {"status MiVideo1 length", 255},
            {"put MiVideo1 destination", 0},
            {"play MiVideo1", 0},
            {"status MiVideo1 mode", 226},
            {"realize MiVideo1 background", 226},
            {"Close MiVideo1", 226}};
        QCOMPARE(rooms, expected);
    }

    void pathGoesIntoTheOpenCommandUnchanged() {
        const AnsiString longPath = "/base/videos\\" + std::string(200, 'v') + " con blanco.avi";
        QVERIFY(viewer()->PlayVideo(longPath, 1));
        QCOMPARE(device->commands.front(), "open " + longPath + " type AVIVideo alias MiVideo1");
    }

    void failedOpenReturnsAtOnce() {
        failing = "open";
        QVERIFY(!viewer()->PlayVideo("/base/videos\\intro.avi", 1));
        QCOMPARE(device->commands, Commands{kOpen});
        QVERIFY(!FormaTelon->isVisible());
        QVERIFY(!viewer()->videoTimer->isActive());
    }

    void failedWindowOrLengthLeavesTheWindowShown_data() {
        QTest::addColumn<QString>("failingCommand");
        QTest::addColumn<int>("commandsSent");
        QTest::newRow("window") << "Window" << 3;
        QTest::newRow("length") << "status MiVideo1 length" << 5;
    }

    void failedWindowOrLengthLeavesTheWindowShown() {
        QFETCH(QString, failingCommand);
        QFETCH(int, commandsSent);
        failing = ansi::fromQt(failingCommand);
        QVERIFY(!viewer()->PlayVideo("/base/videos\\intro.avi", 1));
        QCOMPARE(int(device->commands.size()), commandsSent);
        QVERIFY(FormaTelon->isVisible());
        QVERIFY(!viewer()->videoTimer->isActive());
    }

    void sizeThatIsNoNumberRaisesTheConversionError() {
        whereReply = "0 0 ancho 240";
        bool played = true;
        QVERIFY(!runHandler([&] { played = viewer()->PlayVideo("x.avi", 1); }));
        QVERIFY(played); // never assigned: the error left PlayVideo
        QCOMPARE(errors->messages, QStringList{"'ancho' is not a valid integer value"});
        QVERIFY(!FormaTelon->isVisible());
        QCOMPARE(device->commands.size(), size_t(2));
    }

    void windowIsCentredOnTheViewersFrame_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QRect>("geometry");
        // viewer left 100, panel top 46
        QTest::newRow("320x240 zoom 1") << "0 0 320 240" << 1 << QRect(260, 166, 320, 240);
        QTest::newRow("320x240 zoom 2") << "0 0 320 240" << 2 << QRect(100, 46, 640, 480);
        QTest::newRow("odd size truncates") << "0 0 321 241" << 1 << QRect(259, 165, 321, 241);
        QTest::newRow("larger than the frame")
            << "0 0 1280 960" << 1 << QRect(-220, -194, 1280, 960);
        QTest::newRow("one pixel over truncates toward zero")
            << "0 0 641 481" << 1 << QRect(100, 46, 641, 481);
        QTest::newRow("three pixels over") << "0 0 643 483" << 1 << QRect(99, 45, 643, 483);
        QTest::newRow("zoom 0") << "0 0 320 240" << 0 << QRect(420, 286, 0, 0);
        QTest::newRow("negative zoom has no size") << "0 0 320 240" << -1 << QRect(580, 406, 0, 0);
    }

    void windowIsCentredOnTheViewersFrame() {
        QFETCH(QString, where);
        QFETCH(int, zoom);
        QFETCH(QRect, geometry);
        whereReply = ansi::fromQt(where);
        QVERIFY(viewer()->PlayVideo("x.avi", zoom));
        QCOMPARE(FormaTelon->geometry(), geometry);
        QCOMPARE(device->commands.size(), size_t(7)); // the whole sequence, whatever the size
    }

    void hugeZoomKeepsTheWindowWithinItsLimits() {
        whereReply = "0 0 2147483647 2147483647";
        QVERIFY(viewer()->PlayVideo("x.avi", 2147483647));
        QCOMPARE(FormaTelon->size(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    }

    void nthWord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("word");
        QTest::newRow("third") << "0 0 320 240" << 3 << "320";
        QTest::newRow("fourth") << "0 0 320 240" << 4 << "240";
        QTest::newRow("first") << "0 0 320 240" << 1 << "0";
        QTest::newRow("zero is the first") << "a b c" << 0 << "a";
        QTest::newRow("negative is the first") << "a b c" << -3 << "a";
        QTest::newRow("past the end gives the last") << "a b" << 4 << "b";
        QTest::newRow("two blanks give an empty word") << "a  b" << 2 << "";
        QTest::newRow("after the empty word") << "a  b" << 3 << "b";
        QTest::newRow("one word") << "solo" << 3 << "solo";
        QTest::newRow("empty") << "" << 2 << "";
        QTest::newRow("trailing blank") << "a b " << 3 << "";
    }

    void nthWord() {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, word);
        QCOMPARE(ansi::toQt(TformaVisor::NthWord(ansi::fromQt(text), n)), word);
    }

    void videoStoppedReadsTheMode_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<bool>("stopped");
        QTest::newRow("stopped") << "stopped" << false << true;
        QTest::newRow("capitals") << "STOPPED" << false << true;
        QTest::newRow("mixed case and more") << "Stopped now" << false << true;
        QTest::newRow("playing") << "playing" << false << false;
        QTest::newRow("paused") << "paused" << false << false;
        QTest::newRow("seeking") << "seeking" << false << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("short") << "stoppe" << false << false;
        QTest::newRow("failed command") << "stopped" << true << false;
    }

    void videoStoppedReadsTheMode() {
        QFETCH(QString, reply);
        QFETCH(bool, fails);
        QFETCH(bool, stopped);
        device->answer = [&](const AnsiString &, AnsiString &text) -> uint32_t {
            if (fails)
                return 263;
            text = ansi::fromQt(reply);
            return 0;
        };
        QCOMPARE(viewer()->VideoStopped(), stopped);
        QCOMPARE(device->commands, Commands{"status MiVideo1 mode"});
    }

    void pollClosesAStoppedVideo() {
        QVERIFY(viewer()->PlayVideo("x.avi", 1));
        viewer()->VideoPlaying = true;
        device->commands.clear();

        modeReply = "playing";
        viewer()->videoTimerTimer();
        QCOMPARE(device->commands, Commands{"status MiVideo1 mode"});
        QVERIFY(FormaTelon->isVisible());
        QVERIFY(viewer()->VideoPlaying);

        device->commands.clear();
        modeReply = "stopped";
        viewer()->videoTimerTimer();
        QCOMPARE(device->commands, (Commands{"status MiVideo1 mode", "Close MiVideo1"}));
        QVERIFY(!FormaTelon->isVisible());
        QVERIFY(!viewer()->VideoPlaying);
        QVERIFY(!viewer()->videoTimer->isActive());
    }

    // The intro's video shares the alias: the poll closes it too.
    void pollClosesWhateverVideoIsOpen() {
        modeReply = "stopped";
        viewer()->videoTimer->start();
        viewer()->videoTimerTimer();
        QCOMPARE(device->commands, (Commands{"status MiVideo1 mode", "Close MiVideo1"}));
        QVERIFY(!viewer()->videoTimer->isActive());
    }

    void pollRunsEverySecondFromTheStart() {
        delete formaVisor;
        formaVisor = new TformaVisor;
        QVERIFY(formaVisor->videoTimer->isActive());
        modeReply = "playing";
        QTRY_VERIFY_WITH_TIMEOUT(!device->commands.empty(), 3000);
        QCOMPARE(device->commands.front(), AnsiString("status MiVideo1 mode"));
    }

    void realizeVideoPaletteTellsTheDevice() {
        viewer()->RealizeVideoPalette();
        QCOMPARE(device->commands, Commands{"realize MiVideo1 background"});
    }

    void silenceClicksOnlyPlayTheSilenceWithoutAVideo() {
        emit viewer()->Medview1->OnMouseDownSR(1, 0, 10, 10);
        viewer()->TreeView1Click();
        viewer()->ToolBar1Click();
        QVERIFY(device->commands.empty());
        QCOMPARE(sounds->played, Commands(3, "/base/wavs\\silencio.wav"));
    }

    void silenceClicksStopAPlayingVideo_data() {
        QTest::addColumn<int>("where");
        QTest::newRow("text") << 0;
        QTest::newRow("tree") << 1;
        QTest::newRow("tool bar") << 2;
    }

    void silenceClicksStopAPlayingVideo() {
        QFETCH(int, where);
        viewer()->VideoPlaying = viewer()->PlayVideo("x.avi", 1);
        device->commands.clear();
        if (where == 0) {
            emit viewer()->Medview1->OnMouseDownSR(1, 0, 10, 10);
        } else if (where == 1) {
            viewer()->TreeView1->resize(100, 100);
            QTest::mouseClick(viewer()->TreeView1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        } else {
            QToolBar *bar = viewer()->ToolBar1;
            bar->resize(600, 41);
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(595, 20));
        }
        QCOMPARE(device->commands, Commands{"Close MiVideo1"});
        QVERIFY(!viewer()->VideoPlaying);
        QVERIFY(!FormaTelon->isVisible());
        QVERIFY(!viewer()->videoTimer->isActive());
        QCOMPARE(sounds->played, Commands{"/base/wavs\\silencio.wav"});
    }

    void videoWindowIsABorderlessButtonFaceWindow() {
        QCOMPARE(FormaTelon->windowTitle(), QStringLiteral("FormaTelon"));
        QVERIFY(FormaTelon->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(FormaTelon->isWindow());
        QCOMPARE(FormaTelon->Image1->geometry(), QRect(16, 8, 9, 33));
        QVERIFY(FormaTelon->Image1->Picture().isNull());
        QCOMPARE(FormaTelon->palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Button));
    }

    void clickInTheVideoWindowStopsTheVideo() {
        viewer()->VideoPlaying = viewer()->PlayVideo("x.avi", 1);
        device->commands.clear();

        QWidget *imageArea = FormaTelon->childAt(20, 10);
        QCOMPARE(imageArea, static_cast<QWidget *>(FormaTelon->Image1));
        QTest::mouseClick(imageArea, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(device->commands.empty());
        QVERIFY(FormaTelon->isVisible());
        QVERIFY(viewer()->VideoPlaying);

        QCOMPARE(FormaTelon->childAt(200, 200), nullptr);
        QTest::mouseClick(FormaTelon, Qt::LeftButton, {}, QPoint(200, 200));
        QCOMPARE(device->commands, Commands{"Close MiVideo1"});
        QVERIFY(!FormaTelon->isVisible());
        QVERIFY(!viewer()->VideoPlaying);
        QVERIFY(!viewer()->videoTimer->isActive());
    }

    void clickOnAPictureInTheVideoWindowClearsIt_data() {
        QTest::addColumn<bool>("onImage");
        QTest::newRow("window") << false;
        QTest::newRow("image") << true;
    }

    void clickOnAPictureInTheVideoWindowClearsIt() {
        QFETCH(bool, onImage);
        QImage picture(40, 40, QImage::Format_RGB32);
        picture.fill(Qt::red);
        FormaTelon->Image1->setPicture(picture);
        FormaTelon->show();
        if (onImage)
            QTest::mouseClick(FormaTelon->Image1, Qt::LeftButton, {}, QPoint(2, 2));
        else
            QTest::mouseClick(FormaTelon, Qt::LeftButton, {}, QPoint(200, 200));
        QVERIFY(FormaTelon->Image1->Picture().isNull());
        QVERIFY(!FormaTelon->isVisible());
        QVERIFY(device->commands.empty());
    }
};

QTEST_MAIN(TestVideo)
#include "test_video.moc"
