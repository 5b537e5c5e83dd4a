// LectorLinea's start: the line settings file, the colour indexes, the hidden
// intro window, the updates text and the windows in their order.

#include "actualizarlinea.h"
#include "buscarlinea.h"
#include "clickcontrols.h"
#include "cmdline.h"
#include "entradalinea.h"
#include "forms.h"
#include "lineaapp.h"
#include "lineas.h"
#include "mci.h"
#include "mvutil.h"
#include "scroll.h"
#include "shell.h"
#include "testsupport.h"
#include "video.h"
#include "visorlinea.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

using testsupport::ErrorRecorder;
using testsupport::ScratchDir;

namespace {

// Lines 1 to 21 as the reader gives them.
QStringList linesOf(const TLineSettings &settings) {
    QStringList lines;
    for (int number = 1; number <= 21; ++number)
        lines << QString::fromLatin1(settings.Line(number).c_str());
    return lines;
}

// The message of the error `step` raises; empty when it raises none.
QString errorOf(const std::function<void()> &step) {
    try {
        step();
    } catch (const EAppError &error) {
        return error.message();
    }
    return QString();
}

QStringList padded(QStringList lines) {
    while (lines.size() < 21)
        lines << QString();
    return lines;
}

} // namespace

class TestLineaSettings : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        TApplication::instance().DestroyForms();
        formaVisor = nullptr;
        FormEntrada = nullptr;
        formaActualizacion = nullptr;
        formaBuscar = nullptr;
    }

    void linesOfTheFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF and CR end lines")
            << QByteArray("a\r\nb\rc\r\n\r\nd\r") << padded({"a", "b", "c", "", "d"});
        QTest::newRow("an LF alone stays in the value")
            << QByteArray("SI\nNO\n16\r\nx") << padded({"SI\nNO\n16", "x"});
        QTest::newRow("byte 26 ends the data") << QByteArray("a\r\nb\x1a"
                                                             "c\r\nd\r\n")
                                               << padded({"a", "b"});
        QTest::newRow("nothing is trimmed") << QByteArray(" SI \t\r\n\r\n") << padded({" SI \t"});
        QTest::newRow("an empty file") << QByteArray() << padded({});
        QByteArray many;
        QStringList first20;
        for (int i = 1; i <= 25; ++i) {
            many += QByteArray::number(i) + "\r\n";
            if (i <= 20)
                first20 << QString::number(i);
        }
        QTest::newRow("only lines 1 to 20") << many << padded(first20);
    }
    void linesOfTheFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(linesOf(TLineSettings::FromBytes(bytes.toStdString())), lines);
    }

    void theFileIsNamedByTheFirstArgument() {
        ScratchDir dir(true);
        dir.write(QStringLiteral("Libro.INF"), "uno\r\n");
        SetCommandLine({"LectorLinea", "libro", "TEMA"});
        QCOMPARE(LineSettingsFileName(), AnsiString("libro.inf"));
        QCOMPARE(ReadLineSettings().Line(1), AnsiString("uno"));
        SetCommandLine({"LectorLinea"});
        QCOMPARE(LineSettingsFileName(), AnsiString(".inf"));
        QCOMPARE(errorOf([] { ReadLineSettings(); }), QStringLiteral("File not found"));
        QDir(dir.path()).mkdir(".inf");
        QCOMPARE(errorOf([] { ReadLineSettings(); }), QStringLiteral("File access denied"));
    }

    // The web button opens the address the text was built with: "http://"
    // alone when the file could not be read, the design-time texts kept.
    void theUpdatesTextComesFromLinesNineToSixteen_data() {
        QTest::addColumn<QByteArray>("file"); // empty: no file
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("error");
        const QByteArray intro = "SI\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n";
        const QByteArray updates =
            intro + "Nueve\r\nDiez\r\nOnce\r\nDoce\r\nTrece\r\nCatorce\r\nQuince\r\n";
        const QString text = "Nueve\r\rDiez\rOnce\rDoce\rTrece\r\rCatorce\rQuince\r\r";
        const QString none;
        QTest::newRow("lines 1 to 8 are not its") << updates + "www.example.org\r\n17\r\n"
                                                  << text << "www.example.org" << none;
        QTest::newRow("an empty line 16") << updates + "\r\n17\r\n" << text << none << none;
        QTest::newRow("eight lines") << intro << QString(10, QLatin1Char('\r')) << none << none;
        QTest::newRow("no file") << QByteArray() << "Label1" << none << "File not found";
    }
    void theUpdatesTextComesFromLinesNineToSixteen() {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QFETCH(QString, address);
        QFETCH(QString, error);
        ScratchDir dir(true);
        if (!file.isEmpty())
            dir.write("t.inf", file);
        SetCommandLine({"LectorLinea", "t"});
        ErrorRecorder errors;
        TformaActualizacionLinea updates;
        const QString designCaption = updates.Button1->text();
        runHandler(updates.OnCreate);
        QCOMPARE(errors.messages, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(updates.Label1->Caption(), text);
        QCOMPARE(updates.Button1->text(), error.isEmpty() ? address : designCaption);
        shell::RecordingShell shell;
        updates.show();
        QTest::mouseClick(updates.Button1, Qt::LeftButton);
        QCOMPARE(shell.calls.size(), size_t(1));
        QCOMPARE(ansi::toQt(shell.calls[0].file), "http://" + address);
    }

    void colourIndexes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("colour");
        QTest::newRow("0 aqua") << "0" << 0x00FFFF00u;
        QTest::newRow("1 black") << "1" << 0x00000000u;
        QTest::newRow("3 gray") << "3" << 0x00808080u;
        QTest::newRow("5 the same gray") << "5" << 0x00808080u;
        QTest::newRow("14 the same silver") << "14" << 0x00C0C0C0u;
        QTest::newRow("16 white") << "16" << 0x00FFFFFFu;
        QTest::newRow("17 yellow") << "17" << 0x0000FFFFu;
        QTest::newRow("blanks before, hexadecimal") << "  $F" << 0x00808000u;
        QTest::newRow("18 is white") << "18" << 0x00FFFFFFu;
        QTest::newRow("-1 is white") << "-1" << 0x00FFFFFFu;
    }
    void colourIndexes() {
        QFETCH(QString, text);
        QFETCH(uint, colour);
        QCOMPARE(TformaVisorLinea::ColorFromIndex(text.toStdString()), uint32_t(colour));
    }

    void aColourLineThatIsNoNumberIsAnError() {
        for (const char *text : {"", "1 ", "rojo", "99999999999"}) {
            QCOMPARE(errorOf([text] { TformaVisorLinea::ColorFromIndex(text); }),
                     QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }

    void theIntroArmsItsModeFromLineOne_data() {
        QTest::addColumn<QByteArray>("lineOne");
        QTest::addColumn<bool>("textMode");
        QTest::newRow("SI") << QByteArray("SI") << true;
        QTest::newRow("si") << QByteArray("si") << true;
        QTest::newRow("a blank after SI") << QByteArray("SI ") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void theIntroArmsItsModeFromLineOne() {
        QFETCH(QByteArray, lineOne);
        QFETCH(bool, textMode);
        ScratchDir dir(true);
        dir.write("t.inf", lineOne + "\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
        SetCommandLine({"LectorLinea", "t"});
        mci::RecordingMci device;
        TFormEntradaLinea intro;
        QCOMPARE(intro.windowTitle(), QStringLiteral("Entrada"));
        QVERIFY(!intro.CambioPantalla);
        QCOMPARE(intro.VIdeoSalida, intro.VideoSalida);
        QVERIFY(runHandler(intro.OnCreate));
        QCOMPARE(intro.Tiempo->isActive(), !textMode);
        QCOMPARE(intro.IntroVideoPending(), textMode);
        QCOMPARE(intro.Label1->Caption(), AnsiString(textMode ? "2\r3\r4\r5\r6\r\r7\r\r8\r" : ""));
        intro.FormPaint();
        QCOMPARE(device.commands.empty(), !textMode);
        QVERIFY(!intro.IntroVideoPending());
        if (textMode)
            QVERIFY(device.commands[0].rfind("open videos\\dorvik.avi ", 0) == 0);
    }

    void theViewerIsCreatedFirstAndIsTheMainWindow() {
        ScratchDir dir(true);
        QDir(dir.path()).mkpath("util");
        QImage(8, 8, QImage::Format_RGB32).save(dir.filePath("util/paleta.bmp"), "BMP");
        InitializeLineaUnits({"LectorLinea", "libro"});
        const auto &forms = TApplication::instance().Forms();
        QStringList reports; // the class of the window being created, and the message
        const errorreport::Reporter previous =
            errorreport::setReporter([&forms, &reports](const QString &message) {
                reports << forms.back()->metaObject()->className() + (": " + message);
            });
        CreateLineaForms();
        errorreport::setReporter(previous);
        QCOMPARE(int(forms.size()), 13);
        QCOMPARE(forms.front(), static_cast<TForm *>(formaVisor));
        QVERIFY(qobject_cast<TformaVisorLinea *>(formaVisor));
        QCOMPARE(forms[1], static_cast<TForm *>(FormEntrada));
        QVERIFY(qobject_cast<TFormEntradaLinea *>(FormEntrada));
        QCOMPARE(forms.back(), static_cast<TForm *>(FormaTelon));
        QCOMPARE(TApplication::instance().MainForm(), static_cast<TForm *>(formaVisor));
        QVERIFY(!Scrollbmp);
        QCOMPARE(TitleName, AnsiString("libro"));
        QVERIFY(qobject_cast<TformaActualizacionLinea *>(formaActualizacion));
        QVERIFY(qobject_cast<TformaBuscarLinea *>(formaBuscar));
        // Without a line file each of its readers reports it, in their order.
        QCOMPARE(reports, (QStringList{"TformaVisorLinea: File not found",
                                       "TFormEntradaLinea: File not found",
                                       "TformaActualizacionLinea: File not found"}));
        formaVisor->close();
        QVERIFY(TApplication::instance().Terminated());
        QVERIFY(QFile::exists(dir.filePath("libro.oer")));
    }
};

QTEST_MAIN(TestLineaSettings)
#include "test_linea_settings.moc"
