#include "ansi.h"
#include "atomicfile.h"
#include "errors.h"
#include "intconv.h"
#include "paths.h"
#include "profile.h"
#include "testsupport.h"
#include "windowsdir.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::ScratchDir;

class TestCore : public QObject {
    Q_OBJECT

private slots:
    // Set relative, the folder of the stored files is taken against the
    // current directory at start and stays there when the directory moves.
    void aRelativeWindowsDirectoryIsAnchoredAtStart() {
        testsupport::ScratchDir start(true); // restores both afterwards
        const QString expected = QDir::currentPath() + QStringLiteral("/datos/lector");
        qputenv("LECTOR_WINDOWS_DIR", "./datos/lector/");
        windowsdir::anchorToStartDirectory();
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        QCOMPARE(ansi::toQt(GetWindowsDirectoryA()), expected);
    }

    void windows1252RoundTrip() {
        const AnsiString bytes = "P\xE1gina \x80 \x93x\x94 \xF1";
        const QString text = ansi::toQt(bytes);
        QCOMPARE(text, QString::fromUtf8("Página € “x” ñ"));
        QCOMPARE(ansi::fromQt(text), bytes);
        // Bytes the code page leaves unused survive the round trip.
        QCOMPARE(ansi::fromQt(ansi::toQt("\x81\x8D")), AnsiString("\x81\x8D"));
        QCOMPARE(ansi::fromQt(QString::fromUtf8("日")), AnsiString("?"));
    }

    void upperCasingFoldsOnlyAsciiLetters() {
        QCOMPARE(ansi::upperAscii("si \xF1 .wav"), AnsiString("SI \xF1 .WAV"));
    }

    void integerConversion_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("value");
        QTest::newRow("decimal") << QByteArray("16777215") << qint64(16777215);
        QTest::newRow("dollar hex") << QByteArray("$FFFFFF") << qint64(16777215);
        QTest::newRow("0x hex") << QByteArray("0xffffff") << qint64(16777215);
        QTest::newRow("0X hex") << QByteArray("0XFFFFFF") << qint64(16777215);
        QTest::newRow("leading blanks") << QByteArray("   42") << qint64(42);
        QTest::newRow("plus") << QByteArray("+7") << qint64(7);
        QTest::newRow("minus one") << QByteArray("-1") << qint64(-1);
        QTest::newRow("negative hex") << QByteArray("-$10") << qint64(-16);
        QTest::newRow("max") << QByteArray("9223372036854775807") << qint64(INT64_MAX);
        QTest::newRow("min") << QByteArray("-9223372036854775808") << qint64(INT64_MIN);
        QTest::newRow("hex bit pattern") << QByteArray("$FFFFFFFFFFFFFFFF") << qint64(-1);
    }

    void integerConversion() {
        QFETCH(QByteArray, text);
        QFETCH(qint64, value);
        QCOMPARE(qint64(StrToInt64(text.toStdString())), value);
    }

    void integerConversionErrors_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("hash") << QByteArray("#FFFFFF");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("blank only") << QByteArray("  ");
        QTest::newRow("trailing blank") << QByteArray("12 ");
        QTest::newRow("trailing letters") << QByteArray("12a");
        QTest::newRow("sign only") << QByteArray("-");
        QTest::newRow("prefix only") << QByteArray("$");
        QTest::newRow("too large") << QByteArray("9223372036854775808");
        QTest::newRow("too much hex") << QByteArray("$1FFFFFFFFFFFFFFFF");
        QTest::newRow("two signs") << QByteArray("+-1");
    }

    void integerConversionErrors() {
        QFETCH(QByteArray, text);
        try {
            StrToInt64(text.toStdString());
            QFAIL("no error raised");
        } catch (const EAppError &error) {
            QCOMPARE(error.message(),
                     QStringLiteral("'%1' is not a valid integer value").arg(QString(text)));
        }
    }

    void thirtyTwoBitConversion() {
        QCOMPARE(StrToInt("2147483647"), 2147483647);
        QCOMPARE(StrToInt("-2147483648"), int32_t(INT32_MIN));
        QCOMPARE(StrToInt("$FFFFFFFF"), -1);
        QVERIFY_THROWS_EXCEPTION(EAppError, StrToInt("2147483648"));
        QVERIFY_THROWS_EXCEPTION(EAppError, StrToInt("$100000000"));
    }

    void profileRules() {
        ScratchDir dir;
        dir.write("Dezezi.ini", "; comment line\r\n"
                                "[Otro]\r\nlinea1=otro\r\n"
                                "[GENERAL]\r\n"
                                "LINEA1 = SI  \r\n"
                                "linea2=\"  entre comillas  \"\r\n"
                                "linea3='simple'\r\n"
                                "linea4=\"desparejada'\r\n"
                                ";linea5=comentada\r\n"
                                "linea6=" +
                                    QByteArray(300, 'x') +
                                    "\r\n"
                                    "linea7=\r\n"
                                    "linea8=a=b\r\n");
        const AnsiString file = ansi::fromQt(dir.filePath("dezezi.INI"));
        auto read = [&](const char *key, const char *def = "") {
            return GetPrivateProfileStringA("general", key, def, 255, file);
        };
        QCOMPARE(read("linea1"), AnsiString("SI"));
        QCOMPARE(read("linea2"), AnsiString("  entre comillas  "));
        QCOMPARE(read("linea3"), AnsiString("simple"));
        QCOMPARE(read("linea4"), AnsiString("\"desparejada'"));
        QCOMPARE(read("linea5", "def"), AnsiString("def"));
        QCOMPARE(read("linea6"), AnsiString(254, 'x'));
        QCOMPARE(read("linea7", "def"), AnsiString());
        QCOMPARE(read("linea8"), AnsiString("a=b"));
        QCOMPARE(read("linea9", "def"), AnsiString("def"));
        QCOMPARE(GetPrivateProfileStringA("nada", "linea1", "", 255, file), AnsiString());
        QCOMPARE(GetPrivateProfileStringA("general", "linea1", "d", 255, file + "x"),
                 AnsiString("d"));
    }

    void pathsFallBackToCaseInsensitiveMatches() {
        ScratchDir dir;
        dir.write("wavs/musica.wav", "RIFF");
        dir.write("Videos/Intro.AVI", "RIFF");
        const AnsiString base = ansi::fromQt(dir.path()) + "/";
        QCOMPARE(paths::resolvePath(base + "wavs\\Musica.WAV"), dir.filePath("wavs/musica.wav"));
        QCOMPARE(paths::resolvePath(base + "VIDEOS\\intro.avi"), dir.filePath("Videos/Intro.AVI"));
        QVERIFY(paths::fileExists(base + "WAVS/MUSICA.WAV"));
        QVERIFY(!paths::fileExists(base + "wavs\\otra.wav"));
        QCOMPARE(paths::resolvePath(base + "nada\\x.wav"), dir.filePath("nada/x.wav"));
    }

    void relativePathsResolveAgainstTheCurrentDirectory() {
        ScratchDir dir(true);
        dir.write("Entrada.BMP", "BM");
        QCOMPARE(paths::resolvePath("entrada.bmp"), QStringLiteral("Entrada.BMP"));
        QVERIFY(paths::fileExists("entrada.bmp"));
        QCOMPARE(paths::currentDirWithSeparator(), ansi::fromQt(QDir::currentPath()) + "/");
    }

    void atomicWriteReplacesTheWholeFile() {
        ScratchDir dir;
        const AnsiString file = ansi::fromQt(dir.filePath("sub/datos.oer"));
        WriteFileAtomically(file, std::string(10000, 'a'));
        QCOMPARE(dir.read("sub/datos.oer"), QByteArray(10000, 'a'));
        WriteFileAtomically(file, std::string());
        QCOMPARE(dir.read("sub/datos.oer").size(), 0);
        QCOMPARE(QDir(dir.filePath("sub")).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void failedWriteLeavesTheOldFileAndNoLitter() {
        ScratchDir dir;
        dir.write("datos.cdb", "anterior");
        const AnsiString file = ansi::fromQt(dir.filePath("datos.cdb"));
        atomicfile::setFailureInjection(
            [](size_t written) { return written >= 4096 ? ENOSPC : 0; });
        try {
            WriteFileAtomically(file, std::string(9000, 'n'));
            QFAIL("no error raised");
        } catch (const EAppError &error) {
            QCOMPARE(error.message(), QStringLiteral("Disk full"));
        }
        atomicfile::setFailureInjection(nullptr);
        QCOMPARE(dir.read("datos.cdb"), QByteArray("anterior"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    // A save killed half-way leaves at most one file behind, which the next
    // save takes over.
    void aKilledSaveLeavesNoLitter() {
        ScratchDir dir;
        const AnsiString file = ansi::fromQt(dir.filePath("datos.cdb"));
        for (int i = 0; i < 2; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                atomicfile::setFailureInjection([](size_t) { return ::raise(SIGKILL); });
                WriteFileAtomically(file, "muerto");
                ::_exit(0);
            }
            QCOMPARE(::waitpid(child, nullptr, 0), child);
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() <= 1);
        WriteFileAtomically(file, "nuevo");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("datos.cdb")});
    }

    void ioErrorMessages() {
        QCOMPARE(EInOutError(ENOENT).message(), QStringLiteral("File not found"));
        QCOMPARE(EInOutError(EACCES).message(), QStringLiteral("File access denied"));
        QCOMPARE(EInOutError(ENOSPC).message(), QStringLiteral("Disk full"));
        QCOMPARE(EInOutError(EIO).message(), QStringLiteral("I/O error %1").arg(EIO));
    }

    void handlerBoundaryReportsAndContinues() {
        testsupport::ErrorRecorder errors;
        bool after = false;
        QVERIFY(!runHandler([] { throw EConvertError("x"); }));
        QVERIFY(runHandler([&] { after = true; }));
        QVERIFY(after);
        QCOMPARE(errors.messages, QStringList{QStringLiteral("'x' is not a valid integer value")});
    }
};

QTEST_GUILESS_MAIN(TestCore)
#include "test_core.moc"
