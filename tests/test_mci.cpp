// The media device behind mciSendStringA, driven by the command strings the
// reader sends, on short AVI files made at test time in the codecs of the era
// (Cinepak, MS Video 1, MJPEG, uncompressed) with PCM and ADPCM sound.

#include "mci.h"
#include "mediasupport.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QWidget>

#include <cstring>
#include <memory>

namespace {

struct Answer {
    uint32_t result;
    QString reply;
};

Answer send(const QString &command, size_t room = 256) {
    char reply[256];
    std::memset(reply, 'x', sizeof reply);
    const uint32_t result = mciSendStringA(ansi::fromQt(command), reply, room, nullptr);
    return {result, room > 0 ? QString::fromLatin1(reply) : QString()};
}

uint32_t sendQuietly(const QString &command) {
    return mciSendStringA(ansi::fromQt(command), nullptr, 0, nullptr);
}

QString openCommand(const QString &path) {
    return QStringLiteral("open %1 type AVIVideo alias MiVideo1").arg(path);
}

QString windowCommand(const QWidget &window) {
    return QStringLiteral("Window MiVideo1 handle %1 state show ").arg(window.winId());
}

// Polls the mode as the reader does, until it reads "stopped".
bool waitUntilStopped(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (send(QStringLiteral("status MiVideo1 mode")).reply == QLatin1String("stopped"))
            return true;
        QTest::qWait(50);
    }
    return false;
}

constexpr int PlaybackTimeoutMs = 20000;

// The device's picture inside a window.
QWidget *videoScreen(const QWidget &window) {
    return window.findChild<QWidget *>(QStringLiteral("mciVideo"));
}

// The test pattern's colours, not a black or empty picture.
int coloursShown(QWidget *screen) {
    const QImage shot = screen->grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 4) {
        for (int x = 0; x < shot.width(); x += 4)
            colours.insert(shot.pixel(x, y));
    }
    return int(colours.size());
}

} // namespace

class TestMci : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void opensAndAnswersAtOnce_data();
    void opensAndAnswersAtOnce();
    void playsToItsEnd_data();
    void playsToItsEnd();
    void videoFillsTheWindowAfterPut();
    void playsOnInAHiddenWindowAndOutlivesIt();
    void closeStopsAVideoMidWay();
    void endsWhenTheSoundServerHangs();
    void oneVideoAtATime();
    void commandsOnAnAliasNotOpenFail();
    void openFailsAtOnceForFilesItCannotPlay();
    void replyIsCutToTheRoomGiven();
    void pathWithBlanksBackslashesAndAnyCase();
    void unknownCommandsAndKeywordsFail();

private:
    QString video(const QString &codec, const QString &sound) const;

    std::unique_ptr<mediasupport::NullSoundServer> soundServer_;
    QTemporaryDir dir_;
};

void TestMci::initTestCase() {
    const QString missing = mediasupport::missingMediaTools();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    soundServer_ = std::make_unique<mediasupport::NullSoundServer>();
    QVERIFY(dir_.isValid());
    const QStringList source = {
        "-f",  "lavfi", "-i",       "testsrc=size=160x120:rate=15:duration=1",
        "-f",  "lavfi", "-i",       "sine=frequency=440:sample_rate=22050:duration=1",
        "-ac", "1",     "-shortest"};
    const QList<std::pair<QString, QStringList>> codecs = {
        {"cinepak", {"-c:v", "cinepak"}},
        {"msvideo1", {"-c:v", "msvideo1"}},
        {"mjpeg", {"-c:v", "mjpeg"}},
        {"raw", {"-c:v", "rawvideo", "-pix_fmt", "bgr24"}},
    };
    for (const auto &[codec, videoOptions] : codecs) {
        for (const QString sound : {"pcm_s16le", "adpcm_ms"}) {
            QVERIFY2(mediasupport::runFfmpeg(source + videoOptions + QStringList{"-c:a", sound},
                                             video(codec, sound)),
                     qPrintable(codec + " " + sound));
        }
    }
}

// A test that fails half-way leaves no device open for the next.
void TestMci::cleanup() {
    if (soundServer_)
        soundServer_->resume();
    sendQuietly(QStringLiteral("close MiVideo1"));
}

QString TestMci::video(const QString &codec, const QString &sound) const {
    return dir_.filePath(codec + QLatin1Char('-') + sound + QStringLiteral(".avi"));
}

static void addVideoRows() {
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("sound");
    for (const char *codec : {"cinepak", "msvideo1", "mjpeg", "raw"}) {
        for (const char *sound : {"pcm_s16le", "adpcm_ms"})
            QTest::addRow("%s, %s", codec, sound) << codec << sound;
    }
}

void TestMci::opensAndAnswersAtOnce_data() {
    addVideoRows();
}

void TestMci::opensAndAnswersAtOnce() {
    QFETCH(QString, codec);
    QFETCH(QString, sound);
    QCOMPARE(sendQuietly(openCommand(video(codec, sound))), 0u);
    QCOMPARE(send(QStringLiteral("where MiVideo1 destination")).reply,
             QStringLiteral("0 0 160 120"));
    QCOMPARE(send(QStringLiteral("status MiVideo1 length")).reply, QStringLiteral("15"));
    QCOMPARE(sendQuietly(QStringLiteral("set MiVideo1 time format ms")), 0u);
    const Answer length = send(QStringLiteral("status MiVideo1 length"), 255);
    QCOMPARE(length.result, 0u);
    QVERIFY2(std::abs(length.reply.toInt() - 1000) <= 100, qPrintable(length.reply));
    QCOMPARE(send(QStringLiteral("status MiVideo1 mode")).reply, QStringLiteral("stopped"));
    const Answer closed = send(QStringLiteral("Close MiVideo1"));
    QCOMPARE(closed.result, 0u);
    QCOMPARE(closed.reply, QString());
}

void TestMci::playsToItsEnd_data() {
    addVideoRows();
}

void TestMci::playsToItsEnd() {
    QFETCH(QString, codec);
    QFETCH(QString, sound);
    QWidget window;
    window.resize(320, 240);
    window.show();
    QCOMPARE(sendQuietly(openCommand(video(codec, sound))), 0u);
    QCOMPARE(send(QStringLiteral("where MiVideo1 destination")).reply,
             QStringLiteral("0 0 160 120"));
    QCOMPARE(sendQuietly(windowCommand(window)), 0u);
    QCOMPARE(sendQuietly(QStringLiteral("set MiVideo1 time format ms")), 0u);
    QCOMPARE(send(QStringLiteral("status MiVideo1 length"), 255).result, 0u);
    QCOMPARE(sendQuietly(QStringLiteral("put MiVideo1 destination")), 0u);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(sendQuietly(QStringLiteral("play MiVideo1")), 0u);
    QCOMPARE(send(QStringLiteral("status MiVideo1 mode")).reply, QStringLiteral("playing"));
    QCOMPARE(sendQuietly(QStringLiteral("realize MiVideo1 background")), 0u);

    QVERIFY(waitUntilStopped(PlaybackTimeoutMs));
    // It played its second rather than failing at once.
    QVERIFY2(clock.elapsed() >= 700, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(send(QStringLiteral("status MiVideo1 mode")).reply, QStringLiteral("stopped"));
    QWidget *screen = videoScreen(window);
    QVERIFY(screen);
    QCOMPARE(screen->geometry(), window.rect());
    QVERIFY(coloursShown(screen) > 8);

    QCOMPARE(sendQuietly(QStringLiteral("Close MiVideo1")), 0u);
    QVERIFY(!videoScreen(window));
}

void TestMci::videoFillsTheWindowAfterPut() {
    QWidget window;
    window.resize(320, 240);
    window.show();
    QCOMPARE(sendQuietly(openCommand(video("cinepak", "pcm_s16le"))), 0u);
    QCOMPARE(sendQuietly(windowCommand(window)), 0u);
    QWidget *screen = videoScreen(window);
    QVERIFY(screen);
    QCOMPARE(coloursShown(screen), 1);
    // Before "put" the picture keeps its own size at the top left.
    QCOMPARE(screen->geometry(), QRect(0, 0, 160, 120));
    QVERIFY(screen->isVisible());
    QVERIFY(screen->testAttribute(Qt::WA_TransparentForMouseEvents));

    QCOMPARE(sendQuietly(QStringLiteral("put MiVideo1 destination")), 0u);
    QCOMPARE(screen->geometry(), QRect(0, 0, 320, 240));
    QCOMPARE(send(QStringLiteral("where MiVideo1 destination")).reply,
             QStringLiteral("0 0 320 240"));
    QCOMPARE(send(QStringLiteral("where MiVideo1 source")).reply, QStringLiteral("0 0 160 120"));
    window.resize(480, 360);
    QCOMPARE(screen->geometry(), QRect(0, 0, 480, 360));

    QCOMPARE(sendQuietly(QStringLiteral("window MiVideo1 state hide")), 0u);
    QVERIFY(!screen->isVisible());
    QCOMPARE(sendQuietly(QStringLiteral("window MiVideo1 state show")), 0u);
    QVERIFY(screen->isVisible());

    // A second window takes the picture over.
    QWidget other;
    other.resize(200, 100);
    other.show();
    QCOMPARE(sendQuietly(windowCommand(other)), 0u);
    QVERIFY(!videoScreen(window));
    QCOMPARE(videoScreen(other)->geometry(), QRect(0, 0, 200, 100));
}

void TestMci::playsOnInAHiddenWindowAndOutlivesIt() {
    auto window = std::make_unique<QWidget>();
    window->resize(160, 120);
    window->winId();
    QCOMPARE(sendQuietly(openCommand(video("msvideo1", "adpcm_ms"))), 0u);
    QCOMPARE(sendQuietly(windowCommand(*window)), 0u);
    QCOMPARE(sendQuietly(QStringLiteral("play MiVideo1")), 0u);
    QVERIFY(waitUntilStopped(PlaybackTimeoutMs));

    // Played again, its window goes away under it.
    QCOMPARE(sendQuietly(QStringLiteral("play MiVideo1")), 0u);
    QCOMPARE(send(QStringLiteral("status MiVideo1 mode")).reply, QStringLiteral("playing"));
    QTest::qWait(100);
    window.reset();
    QVERIFY(waitUntilStopped(PlaybackTimeoutMs));
    QCOMPARE(sendQuietly(QStringLiteral("close MiVideo1")), 0u);
}

void TestMci::closeStopsAVideoMidWay() {
    QWidget window;
    window.resize(160, 120);
    window.show();
    for (const char *codec : {"mjpeg", "cinepak"}) {
        QCOMPARE(sendQuietly(openCommand(video(codec, "adpcm_ms"))), 0u);
        QCOMPARE(sendQuietly(windowCommand(window)), 0u);
        QCOMPARE(sendQuietly(QStringLiteral("play MiVideo1")), 0u);
        QTest::qWait(300);
        QCOMPARE(send(QStringLiteral("status MiVideo1 mode")).reply, QStringLiteral("playing"));
        QCOMPARE(sendQuietly(QStringLiteral("Close MiVideo1")), 0u);
        QVERIFY(!videoScreen(window));
        QVERIFY(send(QStringLiteral("status MiVideo1 mode")).result != 0);
    }
}

// A sound server that stops answering mid-video holds the player's end of
// media for ever: the video ends all the same once its picture has played to
// its length, and closing it does not wait on that server (a minute and more,
// past the test's time limit).
void TestMci::endsWhenTheSoundServerHangs() {
    if (!soundServer_->running())
        QSKIP("pulseaudio is missing");
    const QString file = dir_.filePath(QStringLiteral("largo.avi"));
    const QStringList source = {
        "-f",       "lavfi", "-i",        "testsrc=size=160x120:rate=15:duration=3",
        "-f",       "lavfi", "-i",        "sine=frequency=440:sample_rate=22050:duration=3",
        "-ac",      "1",     "-shortest", "-c:v",
        "msvideo1", "-c:a",  "pcm_s16le"};
    QVERIFY(mediasupport::runFfmpeg(source, file));
    QWidget window;
    window.resize(160, 120);
    window.show();
    QCOMPARE(sendQuietly(openCommand(file)), 0u);
    QCOMPARE(sendQuietly(windowCommand(window)), 0u);
    QCOMPARE(sendQuietly(QStringLiteral("play MiVideo1")), 0u);
    // The server hangs once the picture moves: past the start, well before the end.
    QWidget *screen = videoScreen(window);
    QVERIFY(screen);
    QTRY_VERIFY_WITH_TIMEOUT(coloursShown(screen) > 8, PlaybackTimeoutMs);
    const QImage first = screen->grab().toImage();
    QTRY_VERIFY_WITH_TIMEOUT(screen->grab().toImage() != first, PlaybackTimeoutMs);
    soundServer_->hang();

    QVERIFY(waitUntilStopped(PlaybackTimeoutMs));
    QCOMPARE(sendQuietly(QStringLiteral("close MiVideo1")), 0u);
    QVERIFY(!videoScreen(window));
}

void TestMci::oneVideoAtATime() {
    QCOMPARE(sendQuietly(openCommand(video("raw", "pcm_s16le"))), 0u);
    const uint32_t taken = sendQuietly(openCommand(video("mjpeg", "pcm_s16le")));
    QVERIFY(taken != 0);
    QCOMPARE(
        sendQuietly(
            QStringLiteral("open %1 type AVIVideo alias Otro").arg(video("mjpeg", "pcm_s16le"))),
        taken);
    // The first one is untouched.
    QCOMPARE(send(QStringLiteral("status MiVideo1 length")).reply, QStringLiteral("15"));
    QCOMPARE(sendQuietly(QStringLiteral("Close MiVideo1")), 0u);
    QCOMPARE(sendQuietly(openCommand(video("mjpeg", "pcm_s16le"))), 0u);
}

void TestMci::commandsOnAnAliasNotOpenFail() {
    const QStringList commands = {
        "where MiVideo1 destination",  "Window MiVideo1 handle 1 state show ",
        "set MiVideo1 time format ms", "status MiVideo1 length",
        "put MiVideo1 destination",    "play MiVideo1",
        "status MiVideo1 mode",        "Close MiVideo1",
        "realize MiVideo1 background"};
    for (const QString &command : commands) {
        const Answer answer = send(command);
        QVERIFY2(answer.result != 0, qPrintable(command));
        QVERIFY2(answer.reply.isEmpty(), qPrintable(command + ": " + answer.reply));
    }
    // Nor does another alias reach an open one.
    QCOMPARE(sendQuietly(openCommand(video("cinepak", "adpcm_ms"))), 0u);
    QVERIFY(send(QStringLiteral("status Otro mode")).result != 0);
    QCOMPARE(sendQuietly(QStringLiteral("close MiVideo1")), 0u);
    QVERIFY(sendQuietly(QStringLiteral("close MiVideo1")) != 0);
}

void TestMci::openFailsAtOnceForFilesItCannotPlay() {
    testsupport::ScratchDir scratch;
    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator generator(1234);
    generator.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    scratch.write("ruido.avi", noise);
    scratch.write("vacio.avi", QByteArray());
    const QString soundOnly = scratch.filePath("sonido.avi");
    QVERIFY(mediasupport::runFfmpeg({"-f", "lavfi", "-i", "sine=duration=1", "-c:a", "pcm_s16le"},
                                    soundOnly));
    QByteArray cut;
    {
        QFile whole(video("cinepak", "pcm_s16le"));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        cut = whole.read(200);
    }
    scratch.write("cortado.avi", cut);

    for (const QString name :
         {"no-esta.avi", "ruido.avi", "vacio.avi", "sonido.avi", "cortado.avi"}) {
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(sendQuietly(openCommand(scratch.filePath(name))) != 0, qPrintable(name));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(name));
        // Nothing stays open.
        QVERIFY(send(QStringLiteral("status MiVideo1 mode")).result != 0);
    }
    QCOMPARE(sendQuietly(openCommand(video("cinepak", "pcm_s16le"))), 0u);
}

void TestMci::replyIsCutToTheRoomGiven() {
    QCOMPARE(sendQuietly(openCommand(video("mjpeg", "adpcm_ms"))), 0u);
    char reply[8];
    std::memset(reply, 'x', sizeof reply);
    const uint32_t result = mciSendStringA("where MiVideo1 destination", reply, 3, nullptr);
    QVERIFY(result != 0);
    QCOMPARE(QByteArray(reply, 4), QByteArray("0 \0x", 4));

    std::memset(reply, 'x', sizeof reply);
    QCOMPARE(mciSendStringA("status MiVideo1 length", reply, 3, nullptr), 0u);
    QCOMPARE(QByteArray(reply), QByteArray("15"));

    std::memset(reply, 'x', sizeof reply);
    mciSendStringA("where MiVideo1 destination", reply, 0, nullptr);
    QCOMPARE(reply[0], 'x');
    QCOMPARE(mciSendStringA("where MiVideo1 destination", nullptr, 100, nullptr), 0u);
}

void TestMci::pathWithBlanksBackslashesAndAnyCase() {
    testsupport::ScratchDir scratch(true);
    QVERIFY(QDir().mkpath("Mis Videos/de la obra"));
    QVERIFY(QFile::copy(video("msvideo1", "pcm_s16le"), "Mis Videos/de la obra/Un Video.avi"));
    QCOMPARE(sendQuietly(QStringLiteral(
                 "OPEN mis videos\\DE LA OBRA\\un video.AVI TYPE avivideo ALIAS mivideo1")),
             0u);
    QCOMPARE(send(QStringLiteral("WHERE MIVIDEO1 DESTINATION")).reply,
             QStringLiteral("0 0 160 120"));
    QCOMPARE(sendQuietly(QStringLiteral("Set mivideo1 Time Format MS")), 0u);
    QVERIFY(std::abs(send(QStringLiteral("STATUS MiVideo1 LENGTH")).reply.toInt() - 1000) <= 100);
    QCOMPARE(sendQuietly(QStringLiteral("CLOSE MIVIDEO1")), 0u);

    // A folder whose name holds " type " still ends at the last one.
    QVERIFY(QDir().mkpath("a type b"));
    QVERIFY(QFile::copy(video("msvideo1", "pcm_s16le"), "a type b/v.avi"));
    QCOMPARE(sendQuietly(openCommand("a type b\\v.avi")), 0u);
    QCOMPARE(sendQuietly(QStringLiteral("close MiVideo1")), 0u);
}

void TestMci::unknownCommandsAndKeywordsFail() {
    QCOMPARE(sendQuietly(openCommand(video("raw", "adpcm_ms"))), 0u);
    for (const QString command :
         {"", "   ", "pause MiVideo1", "status MiVideo1", "status MiVideo1 volume",
          "where MiVideo1", "set MiVideo1 time format bytes", "put MiVideo1 source",
          "window MiVideo1 handle 12ab", "window MiVideo1 handle 1", "play MiVideo1 from 0",
          "play"}) {
        const Answer answer = send(command);
        QVERIFY2(answer.result != 0, qPrintable(command));
        QVERIFY2(answer.reply.isEmpty(), qPrintable(command));
    }
    QCOMPARE(sendQuietly(QStringLiteral("close MiVideo1")), 0u);
    QVERIFY(sendQuietly(openCommand(video("raw", "adpcm_ms")).replace("AVIVideo", "WaveAudio")) !=
            0);
    QVERIFY(sendQuietly(QStringLiteral("open %1 alias MiVideo1").arg(video("raw", "adpcm_ms"))) !=
            0);
    QVERIFY(sendQuietly(QStringLiteral("open %1 type AVIVideo").arg(video("raw", "adpcm_ms"))) !=
            0);
}

QTEST_MAIN(TestMci)
#include "test_mci.moc"
