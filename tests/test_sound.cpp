// PlaySoundA on the desktop's player: PCM and ADPCM WAV files play in the
// background, a new sound replaces the one that plays, and a file that is
// missing or no sound does nothing.

#include "mediasupport.h"
#include "sound.h"
#include "sound_player.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <memory>

namespace {

constexpr int PlaybackTimeoutMs = 20000;

bool play(const QString &file) {
    return PlaySoundA(ansi::fromQt(file), nullptr, SND_ASYNC);
}

QString canonical(const QString &file) {
    return QFileInfo(file).canonicalFilePath();
}

QString playing() {
    const QString file = sound::playingFile();
    return file.isEmpty() ? file : canonical(file);
}

bool waitFor(const std::function<bool()> &condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > PlaybackTimeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void playsInTheBackgroundToTheEnd_data();
    void playsInTheBackgroundToTheEnd();
    void newSoundReplacesTheOneThatPlays();
    void missingOrDamagedFileDoesNothing();
    void nameIsResolvedLikeEveryOther();

private:
    QString wave(const QString &name) const { return dir_.filePath(name + ".wav"); }

    std::unique_ptr<mediasupport::NullSoundServer> soundServer_;
    QTemporaryDir dir_;
};

void TestSound::initTestCase() {
    const QString missing = mediasupport::missingMediaTools();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    soundServer_ = std::make_unique<mediasupport::NullSoundServer>();
    QVERIFY(dir_.isValid());
    for (const char *codec : {"pcm_s16le", "adpcm_ms"}) {
        for (const char *seconds : {"1", "2"}) {
            const QString source =
                QStringLiteral("sine=frequency=440:sample_rate=22050:duration=") +
                QLatin1String(seconds);
            QVERIFY(mediasupport::runFfmpeg({"-f", "lavfi", "-i", source, "-c:a", codec},
                                            wave(QStringLiteral("%1-%2").arg(codec, seconds))));
        }
    }
}

void TestSound::playsInTheBackgroundToTheEnd_data() {
    QTest::addColumn<QString>("codec");
    QTest::newRow("PCM") << "pcm_s16le";
    QTest::newRow("ADPCM") << "adpcm_ms";
}

void TestSound::playsInTheBackgroundToTheEnd() {
    QFETCH(QString, codec);
    const QString file = wave(codec + "-1");
    QElapsedTimer clock;
    clock.start();
    QVERIFY(play(file));
    // It returned with the sound still to play.
    QCOMPARE(playing(), canonical(file));
    QVERIFY(waitFor([] { return sound::playingFile().isEmpty(); }));
    QVERIFY2(clock.elapsed() >= 700, qPrintable(QString::number(clock.elapsed())));
}

void TestSound::newSoundReplacesTheOneThatPlays() {
    const QString first = wave("pcm_s16le-2");
    const QString second = wave("adpcm_ms-2");
    QVERIFY(play(first));
    QVERIFY(waitFor([&] { return playing() == canonical(first); }));
    QVERIFY(play(second));
    QVERIFY(waitFor([&] { return playing() == canonical(second); }));
    // The same sound again starts over.
    QVERIFY(play(second));
    QVERIFY(waitFor([&] { return playing() == canonical(second); }));
    QVERIFY(waitFor([] { return sound::playingFile().isEmpty(); }));
}

void TestSound::missingOrDamagedFileDoesNothing() {
    testsupport::ScratchDir scratch;
    scratch.write("ruido.wav", QByteArray(4096, '\x5a'));
    scratch.write("corto.wav", QByteArray("RIFF"));
    const QString music = wave("pcm_s16le-2");
    QVERIFY(play(music));
    QVERIFY(waitFor([&] { return playing() == canonical(music); }));

    QVERIFY(!play(scratch.filePath("no-esta.wav")));
    QVERIFY(!play(scratch.filePath("ruido.wav")));
    QVERIFY(!play(scratch.filePath("corto.wav")));
    QVERIFY(!play(QString()));
    // The sound that played goes on.
    QCOMPARE(playing(), canonical(music));
    QVERIFY(waitFor([] { return sound::playingFile().isEmpty(); }));
}

void TestSound::nameIsResolvedLikeEveryOther() {
    testsupport::ScratchDir scratch(true);
    QVERIFY(QDir().mkpath("wavs"));
    QVERIFY(QFile::copy(wave("adpcm_ms-1"), "wavs/Silencio.wav"));
    QVERIFY(PlaySoundA("WAVS\\silencio.WAV", nullptr, SND_ASYNC));
    QVERIFY(waitFor([] { return !sound::playingFile().isEmpty(); }));
    QCOMPARE(QFileInfo(sound::playingFile()).fileName(), QStringLiteral("Silencio.wav"));
    QVERIFY(waitFor([] { return sound::playingFile().isEmpty(); }));
}

QTEST_MAIN(TestSound)
#include "test_sound.moc"
