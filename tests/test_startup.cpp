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
#include "recorrido.h"
#include "resulta.h"
#include "scroll.h"
#include "testsupport.h"
#include "vermarcas.h"
#include "video.h"
#include "visor.h"

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

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TApplication::instance().DestroyForms(); }

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

    void closingTheViewerEndsTheProgramThoughTheMainWindowIsHidden() {
        ScratchDir dir(true);
        InitializeDorvikUnits({"LectorDorvik", "libro"});
        ErrorRecorder errors;
        CreateDorvikForms();
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
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
