// The hotspot commands of the viewer, driven through the control's hotspot
// event as a click raises it, with the recording shell, sound and media doubles.

#include "mci.h"
#include "medview.h"
#include "mvutil.h"
#include "scroll.h"
#include "shell.h"
#include "sound.h"
#include "testsupport.h"
#include "video.h"
#include "visor.h"

#include <QTimer>
#include <QtTest>
#include <memory>

using testsupport::ErrorRecorder;
using testsupport::ScratchDir;

namespace {

struct ShellSeen {
    AnsiString file, parameters, directory;
};

QString describe(const ShellSeen &call) {
    return QStringLiteral("[%1|%2|%3]")
        .arg(ansi::toQt(call.file), ansi::toQt(call.parameters), ansi::toQt(call.directory));
}

QString describe(const std::vector<ShellSeen> &calls) {
    QStringList out;
    for (const ShellSeen &call : calls)
        out << describe(call);
    return out.join(QLatin1Char(' '));
}

QString describe(const std::vector<ShellCall> &calls) {
    std::vector<ShellSeen> seen;
    for (const ShellCall &call : calls)
        seen.push_back({call.file, call.parameters, call.directory});
    return describe(seen);
}

} // namespace

class TestHotspot : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchDir> scratch;
    std::unique_ptr<shell::RecordingShell> shellDouble;
    std::unique_ptr<sound::RecordingSound> soundDouble;
    std::unique_ptr<mci::RecordingMci> mciDouble;
    std::unique_ptr<ErrorRecorder> errors;
    int closes = 0;

    // Clicks a hotspot the way the control raises it; returns Cancel.
    bool click(int type, intptr_t data) {
        bool cancel = false;
        emit formaVisor->Medview1->OnHotspotClicked(type, data, cancel);
        return cancel;
    }
    bool click(const char *text) { return click(0, reinterpret_cast<intptr_t>(text)); }

    void expectShell(const std::vector<ShellSeen> &expected) {
        for (const ShellCall &call : shellDouble->calls) {
            QCOMPARE(call.owner, static_cast<QWidget *>(formaVisor));
            QVERIFY(call.verb.empty());
            QCOMPARE(call.showCommand, SW_SHOWMAXIMIZED);
        }
        QCOMPARE(describe(shellDouble->calls), describe(expected));
    }

    void expectNothingHappened() {
        QVERIFY(shellDouble->calls.empty());
        QVERIFY(soundDouble->played.empty());
        QVERIFY(mciDouble->commands.empty());
        QCOMPARE(closes, 0);
        QVERIFY(errors->messages.isEmpty());
    }

private slots:
    void init() {
        scratch = std::make_unique<ScratchDir>();
        shellDouble = std::make_unique<shell::RecordingShell>();
        soundDouble = std::make_unique<sound::RecordingSound>();
        mciDouble = std::make_unique<mci::RecordingMci>();
        errors = std::make_unique<ErrorRecorder>();
        BaseDir = "/base/";
        CloseAfterLaunch = false;
        closes = 0;
        formaVisor = new TformaVisor;
        formaVisor->videoTimer->stop();
        formaVisor->OnClose = [this] { ++closes; };
        FormaTelon = new TFormaTelon;
        Scrollbmp = new TScrollbmp;
        mciDouble->answer = [](const AnsiString &command, AnsiString &reply) -> uint32_t {
            if (command == "where MiVideo1 destination")
                reply = "0 0 320 240";
            return 0;
        };
    }

    void cleanup() {
        delete Scrollbmp;
        delete FormaTelon;
        delete formaVisor;
        Scrollbmp = nullptr;
        FormaTelon = nullptr;
        formaVisor = nullptr;
        errors.reset();
        mciDouble.reset();
        soundDouble.reset();
        shellDouble.reset();
        scratch.reset();
        CloseAfterLaunch = false;
    }

    void typesOtherThanCommandsOnlySetCancel() {
        QVERIFY(click(0, 0));
        QVERIFY(click(3, reinterpret_cast<intptr_t>("musica.wav")));
        QVERIFY(click(-1, reinterpret_cast<intptr_t>("musica.wav")));
        QVERIFY(click(1, 7));
        QVERIFY(!click(2, 7));
        expectNothingHappened();
    }

    void emptyTextAndTextsWithoutARuleDoNothing() {
        for (const char *text : {"", "foto.jpeg", "a.b.txt", "sin punto"}) {
            QVERIFY(click(text));
        }
        expectNothingHappened();
    }

    void soundPlaysFromTheSoundsFolder() {
        QVERIFY(click("musica.wav"));
        QCOMPARE(soundDouble->played, std::vector<AnsiString>{"/base/wavs\\musica.wav"});
        QVERIFY(shellDouble->calls.empty());
        QVERIFY(mciDouble->commands.empty());
    }

    void videoPlaysAtTheZoomAfterTheFirstBlank() {
        QVERIFY(click("intro.avi 2"));
        QCOMPARE(mciDouble->commands.front(), AnsiString("open /base/videos\\intro.avi type "
                                                         "AVIVideo alias MiVideo1"));
        QCOMPARE(mciDouble->commands.back(), AnsiString("realize MiVideo1 background"));
        QCOMPARE(FormaTelon->size(), QSize(640, 480));
        QVERIFY(formaVisor->VideoPlaying);

        mciDouble->commands.clear();
        QVERIFY(click("intro.avi"));
        QCOMPARE(mciDouble->commands.front(), AnsiString("open /base/videos\\intro.avi type "
                                                         "AVIVideo alias MiVideo1"));
        QCOMPARE(FormaTelon->size(), QSize(320, 240));

        mciDouble->commands.clear();
        QVERIFY(click("intro.avi   -1"));
        QCOMPARE(FormaTelon->size(), QSize(0, 0));
    }

    void videoThatFailsLeavesVideoPlayingFalseAndStillRealizes() {
        formaVisor->VideoPlaying = true;
        mciDouble->answer = [](const AnsiString &command, AnsiString &) -> uint32_t {
            return command.rfind("open ", 0) == 0 ? 263 : 0;
        };
        QVERIFY(click("perdido.avi"));
        QVERIFY(!formaVisor->VideoPlaying);
        QCOMPARE(
            mciDouble->commands,
            (std::vector<AnsiString>{"open /base/videos\\perdido.avi type AVIVideo alias MiVideo1",
                                     "realize MiVideo1 background"}));
    }

    void zoomThatIsNoNumberStopsTheClick() {
        QVERIFY(click("intro.avi x www.pdf"));
        QCOMPARE(errors->messages, QStringList{"'x www.pdf' is not a valid integer value"});
        QVERIFY(mciDouble->commands.empty());
        QVERIFY(shellDouble->calls.empty());
        QVERIFY(!formaVisor->VideoPlaying);
    }

    void webAddressAndPageBothOpen() {
        QVERIFY(click("www.dorvik.com/pagina.htm"));
        expectShell({{"http://www.dorvik.com/pagina.htm", "", ""},
                     {"file:///base/HTM\\www.dorvik.com/pagina.htm", "", ""}});
    }

    void programParametersReplaceTheText() {
        QVERIFY(click("VISOR.EXE MANUAL.PDF"));
        expectShell({{"VISOR.EXE", "MANUAL.PDF", ""}, {"file:///base/PDF\\MANUAL.PDF", "", ""}});
        QCOMPARE(closes, 0);

        shellDouble->calls.clear();
        QVERIFY(click("util\\calc.exe"));
        expectShell({{"util\\calc.exe", "", ""}});
    }

    void generalProgramClosesTheViewerWhenAsked_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("closeAfterLaunch");
        QTest::addColumn<int>("closes");
        QTest::newRow("general.exe, switch on") << "general.exe" << true << 1;
        QTest::newRow("capitals with parameters") << "GENERAL.EXE tema 2" << true << 1;
        QTest::newRow("in a folder") << "util\\General.Exe" << true << 1;
        QTest::newRow("switch off") << "general.exe" << false << 0;
        QTest::newRow("other program") << "visor.exe" << true << 0;
        QTest::newRow("only the parameter") << "visor.exe general.exe" << true << 0;
    }

    void generalProgramClosesTheViewerWhenAsked() {
        QFETCH(QString, text);
        QFETCH(bool, closeAfterLaunch);
        QFETCH(int, closes);
        CloseAfterLaunch = closeAfterLaunch;
        const QByteArray bytes = text.toLatin1();
        QVERIFY(click(bytes.constData()));
        QCOMPARE(shellDouble->calls.size(), size_t(1));
        QCOMPARE(this->closes, closes);
    }

    void otherTitleStartsANewReaderInTheBaseFolder() {
        QVERIFY(click("otro.dvk"));
        expectShell({{"/base/LectorDorvik.exe", "otro", "/base/"}});
        QCOMPARE(closes, 0);

        shellDouble->calls.clear();
        CloseAfterLaunch = true;
        QVERIFY(click("OTRO.DVKX"));
        expectShell({{"/base/LectorDorvik.exe", "OTRO.", "/base/"}});
        QCOMPARE(closes, 1);
    }

    void documentsOpenFromTheirFolders_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("file");
        QTest::newRow("doc") << "acta.doc"
                             << "file:///base/DOC\\acta.doc";
        QTest::newRow("docx") << "acta.docx"
                              << "file:///base/DOC\\acta.docx";
        QTest::newRow("xls") << "cuentas.XLS"
                             << "file:///base/XLS\\cuentas.XLS";
        QTest::newRow("pdf") << "manual.pdf"
                             << "file:///base/PDF\\manual.pdf";
        QTest::newRow("ppt") << "charla.ppt"
                             << "file:///base/PPT\\charla.ppt";
        QTest::newRow("html") << "pagina.html"
                              << "file:///base/HTM\\pagina.html";
        QTest::newRow("other extension") << "plano.dwg"
                                         << "file:///base/ANEXOS\\plano.dwg";
    }

    void documentsOpenFromTheirFolders() {
        QFETCH(QString, text);
        QFETCH(QString, file);
        const QByteArray bytes = text.toLatin1();
        QVERIFY(click(bytes.constData()));
        expectShell({{ansi::fromQt(file), "", ""}});
        QCOMPARE(closes, 0);
    }

    void exitRules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("document");
        QTest::addColumn<int>("closes");
        QTest::newRow("fallback leaves the click unhandled")
            << "salida.txt"
            << "file:///base/ANEXOS\\salida.txt" << 1;
        QTest::newRow("keyword") << "SALIDA"
                                 << "" << 1;
        QTest::newRow("keyword in lower case") << "salida"
                                               << "" << 1;
        QTest::newRow("document handles the click") << "salida.pdf"
                                                    << "file:///base/PDF\\salida.pdf" << 0;
        QTest::newRow("known extension is not the fallback") << "salida.doc"
                                                             << "file:///base/DOC\\salida.doc" << 0;
    }

    void exitRules() {
        QFETCH(QString, text);
        QFETCH(QString, document);
        QFETCH(int, closes);
        const QByteArray bytes = text.toLatin1();
        QVERIFY(click(bytes.constData()));
        if (document.isEmpty())
            expectShell({});
        else
            expectShell({{ansi::fromQt(document), "", ""}});
        QCOMPARE(this->closes, closes);
    }

    void closingDoesNotStopTheLaterRules() {
        CloseAfterLaunch = true;
        QVERIFY(click("general.exe manual.pdf"));
        expectShell({{"general.exe", "manual.pdf", ""}, {"file:///base/PDF\\manual.pdf", "", ""}});
        QCOMPARE(closes, 1);
    }

    void longTextsAreCutToTheirLimits() {
        const std::string sound = "musica.wav " + std::string(100, 'a') + ".pdf";
        QVERIFY(click(sound.c_str()));
        QCOMPARE(soundDouble->played,
                 std::vector<AnsiString>{"/base/wavs\\" + sound.substr(0, 80)});
        QVERIFY(shellDouble->calls.empty()); // ".pdf" was cut off

        const std::string address = "www." + std::string(90, 'w') + ".com";
        QVERIFY(click(address.c_str()));
        expectShell({{"http://" + address.substr(0, 73), "", ""}});
    }

    void pictureHoldsTheClickUntilClosed() {
        bool shownModally = false;
        size_t shellCallsWhileShown = 99;
        AnsiString file;
        QTimer::singleShot(50, this, [&] {
            shownModally = Scrollbmp->isShowingModal();
            shellCallsWhileShown = shellDouble->calls.size();
            file = Scrollbmp->PictureFile;
            QTest::mouseClick(Scrollbmp, Qt::LeftButton, {}, QPoint(5, 5));
        });
        QVERIFY(click("www.dorvik.com/foto.jpg"));
        QVERIFY(shownModally);
        QCOMPARE(shellCallsWhileShown, size_t(0));
        QCOMPARE(file, AnsiString("/base/jpg\\www.dorvik.com/foto.jpg"));
        QVERIFY(!Scrollbmp->isVisible());
        expectShell({{"http://www.dorvik.com/foto.jpg", "", ""}});
        // The picture file does not exist; the picture viewer reported it.
        QCOMPARE(errors->messages,
                 QStringList{"Cannot open file /base/jpg/www.dorvik.com/foto.jpg"});

        QTimer::singleShot(50, this, [&] {
            file = Scrollbmp->PictureFile;
            QTest::mouseClick(Scrollbmp, Qt::LeftButton, {}, QPoint(5, 5));
        });
        QVERIFY(click("retrato.BMP"));
        QCOMPARE(file, AnsiString("/base/fotos\\retrato.BMP"));
    }
};

QTEST_MAIN(TestHotspot)
#include "test_hotspot.moc"
