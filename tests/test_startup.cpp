#include "actualizar.h"
#include "anadir.h"
#include "buscar.h"
#include "copiar.h"
#include "dorvikapp.h"
#include "formaentrada.h"
#include "forms.h"
#include "impresion.h"
#include "marcacion.h"
#include "media_module.h"
#include "mvutil.h"
#include "preferencias.h"
#include "readerapp.h"
#include "recorrido.h"
#include "resulta.h"
#include "scroll.h"
#include "testsupport.h"
#include "vermarcas.h"
#include "video.h"
#include "visor.h"
#include "visor_fixture.h"

#include <QLibraryInfo>
#include <QProcess>
#include <QtTest>
#include <cstring>

using testsupport::ErrorRecorder;
using testsupport::ScratchDir;

namespace {

// A form whose creation handler is whatever the test sets before creating it.
std::function<void()> nextCreation;
struct Probe : TForm {
    Probe() { OnCreate = std::exchange(nextCreation, nullptr); }
};

// Started with this variable set, the test program is the reader itself, and
// closes its viewer as soon as the intro has shown it.
const char *const kRunTheReader = "LECTOR_TEST_RUN_READER";

void closeTheViewerOnceShown() {
    if (!qEnvironmentVariableIsSet(kRunTheReader))
        return;
    auto *poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, [] {
        if (formaVisor && formaVisor->isVisible())
            formaVisor->close();
    });
    poll->start(20);
}
Q_COREAPP_STARTUP_FUNCTION(closeTheViewerOnceShown)

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TApplication::instance().DestroyForms(); }

    // The toolkit's standard buttons and dialogs speak the reader's language.
    void theToolkitsOwnTextsAreSpanish() {
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                           QStringLiteral("/qtbase_es.qm")))
            QSKIP("Qt's Spanish translations are not installed here");
        InstallToolkitTranslations(*QCoreApplication::instance());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Cancelar"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Ver en:"));
    }

    void creationErrorIsReportedAndStartupGoesOn() {
        ErrorRecorder errors;
        QStringList order;
        TApplication &app = TApplication::instance();
        Probe *first = nullptr;
        Probe *second = nullptr;
        Probe *third = nullptr;
        nextCreation = [&] { order << "1"; };
        app.CreateForm(first);
        nextCreation = [&] {
            order << "2";
            throw EAppError(QStringLiteral("Cannot open file util/paleta.bmp"));
        };
        app.CreateForm(second);
        nextCreation = [&] { order << "3"; };
        app.CreateForm(third);
        QCOMPARE(order, (QStringList{"1", "2", "3"}));
        QCOMPARE(errors.messages, QStringList{"Cannot open file util/paleta.bmp"});
        QCOMPARE(app.MainForm(), first);
    }

    void onlyClosingTheMainFormEndsTheProgram() {
        TApplication &app = TApplication::instance();
        Probe *main = nullptr;
        app.CreateForm(main);
        Probe *other = nullptr;
        app.CreateForm(other);
        main->show();
        other->show();
        main->hide();
        other->close();
        QVERIFY(!app.Terminated());
        main->close();
        QVERIFY(app.Terminated());
    }

    void dorvikCreatesItsFourteenWindowsInOrder() {
        ScratchDir dir(true);
        InitializeDorvikUnits({"LectorDorvik"});
        ErrorRecorder errors; // no settings file here: the viewer reports and goes on
        CreateDorvikForms();
        const std::vector<TForm *> expected = {
            FormEntrada,       formaVisor,     formaActualizacion, formaVerMarcas,   formaRecorrido,
            formaPreferencias, formaImpresion, formaMarcacion,     formaAnotaciones, formaCopiar,
            formaBuscar,       formaResulta,   FormaTelon,         Scrollbmp};
        QCOMPARE(TApplication::instance().Forms(), expected);
        QCOMPARE(TApplication::instance().MainForm(), static_cast<TForm *>(FormEntrada));
        for (TForm *form : expected)
            QVERIFY(!form->isVisible());
        QCOMPARE(formaVisor->DialogForm(6), static_cast<TForm *>(formaBuscar));
        QCOMPARE(formaBuscar->windowTitle(), QStringLiteral("Buscar frases o palabras"));
        QCOMPARE(formaAnotaciones->windowTitle(), QStringLiteral("Añadir anotaciones "));
    }

    void storedBookmarksAndNotesAreLoadedBeforeTheViewerShows() {
        ScratchDir dir(true);
        QByteArray oer(kBookmarkRecordSize, 0);
        oer[0] = 1;
        oer[1] = 'a';
        dir.write("general.oer", oer + oer);
        dir.write("general.cdb", QByteArray(kAnnotationRecordSize, 0));
        InitializeDorvikUnits({"LectorDorvik"});
        ErrorRecorder errors;
        CreateDorvikForms();
        QCOMPARE(BookmarkCount, 2);
        QCOMPARE(AnnotationCount, 1);
        QVERIFY(!formaVisor->isVisible());
    }

    // The viewer's set-up stops at the missing palette bitmap, and the user
    // reads the error box for longer than the intro waits before it hands
    // over: the hand-over still waits for the event loop, so the intro never
    // ends up shown over a viewer already there.
    void closingTheViewerEndsTheProgramThoughTheMainWindowIsHidden() {
        ScratchDir dir(true);
        InitializeDorvikUnits({"LectorDorvik", "libro"});
        ErrorRecorder errors(300);
        CreateDorvikForms();
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(!formaVisor->isVisible());
        TApplication::instance().ShowMainForm();
        QVERIFY(FormEntrada->isVisible());
        QTRY_VERIFY(formaVisor->isVisible()); // the intro hands over
        QVERIFY(!FormEntrada->isVisible());
        // Sound and video load at their first use, Qt Multimedia with them.
        QVERIFY(!media::loadedModule());
        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly) && !maps.readAll().contains("libQt6Multimedia"));
        QVERIFY(!TApplication::instance().Terminated());
        formaVisor->close();
        QVERIFY(TApplication::instance().Terminated());
        QVERIFY(QFile::exists(dir.filePath("libro.oer")));
        QVERIFY(QFile::exists(dir.filePath("libro.cdb")));
    }

    // The arguments are the reader's own, even those that look like the
    // toolkit's options; the program ends with 0 once its viewer closes.
    void theProgramTakesItsOwnArgumentsAndEndsWithZero() {
        ScratchDir dir;
        QImage palette(4, 4, QImage::Format_Indexed8);
        palette.setColorTable({qRgb(0, 0, 0)});
        palette.fill(0);
        QVERIFY(QDir(dir.path()).mkpath("util") && palette.save(dir.filePath("util/paleta.bmp")));
        dir.write("Dezezi.ini", "[-platform]\nlinea17=0\nlinea18=0\nlinea19=0\n");
        QVERIFY(title::writeTitle(visortest::sampleSource(), dir.filePath("-platform.dvk")));
        QProcess reader;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kRunTheReader), QStringLiteral("1"));
        reader.setProcessEnvironment(environment);
        reader.setWorkingDirectory(dir.path());
        reader.start(QCoreApplication::applicationFilePath(),
                     {"-platform", "doesnotexist", "otro"});
        QVERIFY(reader.waitForFinished(60000));
        QCOMPARE(reader.exitStatus(), QProcess::NormalExit);
        QCOMPARE(reader.exitCode(), 0);
        QVERIFY(QFile::exists(dir.filePath("-platform.oer")));
    }
};

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsSet(kRunTheReader))
        return RunLectorDorvik(argc, argv);
    QApplication application(argc, argv);
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_startup.moc"
