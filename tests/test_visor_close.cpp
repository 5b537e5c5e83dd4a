// Closing the viewer: the bookmark and annotation files, byte for byte; a
// failing write that leaves the stored files as they were and the viewer open;
// the end of the program.

#include "atomicfile.h"
#include "formaentrada.h"
#include "forms.h"
#include "visor_fixture.h"

#include <QDir>
#include <QTimer>
#include <cerrno>
#include <cstring>

using namespace visortest;

namespace {

// Fails the `failing`-th file the close writes with `error`, from its start
// or, with `afterBytes`, once bytes are written; `files` counts the files begun.
void injectFailure(int &files, int failing, int error, bool afterBytes) {
    atomicfile::setFailureInjection([&files, failing, error, afterBytes](size_t written) {
        if (written == 0)
            ++files;
        return files == failing && (written > 0 || !afterBytes) ? error : 0;
    });
}

void setTables() {
    BookmarkCount = 3;
    Bookmarks[1] = {"Primera marca, la m\xE1s larga", 5};
    Bookmarks[2] = {"Dos", -2};
    Bookmarks[3] = {AnsiString(45, 'n'), 70000};
    AnnotationCount = 2;
    Annotations[1] = {3, "Cap\xEDtulo 1", "Una nota larga sobre el cap\xEDtulo"};
    Annotations[2] = {-1, "T", AnsiString(300, 'z')};
}

QByteArray expectedBookmarks() {
    return bookmarkRecords(
        {{"Primera marca, la m\xE1s larga", 5}, {"Dos", -2}, {QByteArray(40, 'n'), 70000}});
}

QByteArray expectedAnnotations() {
    return annotationRecords({{3, "Cap\xEDtulo 1", "Una nota larga sobre el cap\xEDtulo"},
                              {-1, "T", QByteArray(255, 'z')}});
}

} // namespace

class TestVisorClose : public QObject, ViewerTest {
    Q_OBJECT

private:
    QString stored(const char *extension) const {
        return folder_->path(QStringLiteral("prueba.") + QLatin1String(extension));
    }
    QByteArray read(const char *extension) const {
        return folder_->scratch().read(QStringLiteral("prueba.") + QLatin1String(extension));
    }
    void storePrevious() const {
        folder_->scratch().write(QStringLiteral("prueba.oer"), bookmarkRecords({{"Vieja", 1}}));
        folder_->scratch().write(QStringLiteral("prueba.cdb"),
                                 annotationRecords({{1, "Viejo", "Vieja"}}));
    }
    QStringList leftovers() const {
        return QDir(folder_->scratch().path())
            .entryList(QDir::Files | QDir::Hidden)
            .filter(QStringLiteral(".prueba"));
    }

private slots:
    void init() {
        writeFolder();
        viewer_ = createViewer();
        showViewer();
    }

    void cleanup() {
        atomicfile::setFailureInjection(nullptr);
        FormEntrada = nullptr;
        destroyViewerAndFolder();
    }

    void theFilesHoldTheTablesByteForByte() {
        setTables();
        testsupport::ErrorRecorder errors;
        QVERIFY(viewer_->close());
        QCOMPARE(errors.messages, QStringList());
        QVERIFY(!viewer_->isVisible());
        QCOMPARE(read("oer"), expectedBookmarks());
        QCOMPARE(read("cdb"), expectedAnnotations());
    }

    void emptyTablesLeaveEmptyFiles() {
        storePrevious();
        QVERIFY(viewer_->close());
        QVERIFY(QFile::exists(stored("oer")));
        QVERIFY(QFile::exists(stored("cdb")));
        QCOMPARE(QFileInfo(stored("oer")).size(), 0);
        QCOMPARE(QFileInfo(stored("cdb")).size(), 0);
    }

    void aFailedWriteKeepsTheStoredFilesAndTheViewer() {
        storePrevious();
        const QByteArray oldBookmarks = read("oer");
        const QByteArray oldAnnotations = read("cdb");
        setTables();
        testsupport::ErrorRecorder errors;
        // The bookmark file fails once all its bytes are written.
        int files = 0;
        injectFailure(files, 1, ENOSPC, true);
        QVERIFY(!viewer_->close());
        QCOMPARE(errors.messages, QStringList{QStringLiteral("Disk full")});
        QCOMPARE(files, 1); // the annotation file was not touched
        QVERIFY(viewer_->isVisible());
        QCOMPARE(read("oer"), oldBookmarks);
        QCOMPARE(read("cdb"), oldAnnotations);
        QCOMPARE(leftovers(), QStringList());

        // Closing again, once the disk has room, saves both. (The record
        // buffers keep the bytes of the failed attempt; start them afresh.)
        atomicfile::setFailureInjection(nullptr);
        clearRecordBuffers();
        QVERIFY(viewer_->close());
        QCOMPARE(read("oer"), expectedBookmarks());
        QCOMPARE(read("cdb"), expectedAnnotations());
    }

    void aFailedAnnotationFileKeepsItsOldContent() {
        storePrevious();
        const QByteArray oldAnnotations = read("cdb");
        setTables();
        testsupport::ErrorRecorder errors;
        int files = 0;
        injectFailure(files, 2, EIO, false);
        QVERIFY(!viewer_->close());
        QCOMPARE(errors.messages, QStringList{QStringLiteral("I/O error %1").arg(EIO)});
        QVERIFY(viewer_->isVisible());
        QCOMPARE(read("oer"), expectedBookmarks());
        QCOMPARE(read("cdb"), oldAnnotations);
        QCOMPARE(leftovers(), QStringList());
    }

    void aReadOnlyBookmarkFileSurvivesTheClose() {
        storePrevious();
        folder_->scratch().write(QStringLiteral("prueba.oer"),
                                 bookmarkRecords({{"Uno", 1}, {"Dos", 2}}));
        const QByteArray oldBookmarks = read("oer");
        const QByteArray oldAnnotations = read("cdb");
        QFile::setPermissions(stored("oer"),
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        setTables();
        testsupport::ErrorRecorder errors;
        QVERIFY(!viewer_->close());
        QCOMPARE(errors.messages, QStringList{QStringLiteral("File access denied")});
        QVERIFY(viewer_->isVisible());
        QCOMPARE(read("oer"), oldBookmarks);
        QCOMPARE(read("cdb"), oldAnnotations);
        QCOMPARE(leftovers(), QStringList());

        QFile::setPermissions(stored("oer"), QFile::ReadOwner | QFile::WriteOwner);
        clearRecordBuffers();
        QVERIFY(viewer_->close());
        QCOMPARE(read("oer"), expectedBookmarks());
        QCOMPARE(read("cdb"), expectedAnnotations());
    }

    void anUnwritableFolderIsReported() {
        // The Windows directory is a file: nothing can be created in it.
        folder_->scratch().write(QStringLiteral("noesdir"), "x");
        WindowsDir = ansi::fromQt(folder_->path(QStringLiteral("noesdir")));
        testsupport::ErrorRecorder errors;
        QVERIFY(!viewer_->close());
        QCOMPARE(errors.messages, QStringList{QStringLiteral("File access denied")});
        QVERIFY(viewer_->isVisible());
    }

    void withoutAWindowsDirectoryTheFilesStayInTheirFolder() {
        // The creation stopped at the palette, before the Windows directory:
        // the tables still come from and go back to the usual folder.
        viewer_.reset();
        QFile::remove(folder_->path(QStringLiteral("util/paleta.bmp")));
        WindowsDir.clear();
        testsupport::ErrorRecorder errors;
        viewer_ = createViewer();
        QCOMPARE(WindowsDir, AnsiString());
        setTables();
        viewer_->show();
        QVERIFY(viewer_->close());
        QCOMPARE(errors.messages.size(), 1); // the palette's
        QCOMPARE(read("oer"), expectedBookmarks());
        QVERIFY(!QFile::exists(QStringLiteral("/prueba.oer")));
        QVERIFY(!QFile::exists(QStringLiteral("/prueba.cdb")));
    }

    void closingTheViewerEndsTheProgram() {
        TApplication &application = TApplication::instance();
        application.CreateForm(FormEntrada);
        QCOMPARE(application.MainForm(), FormEntrada);
        setTables();
        atomicfile::setFailureInjection([](size_t) { return ENOSPC; });
        {
            testsupport::ErrorRecorder errors;
            QVERIFY(!viewer_->close());
        }
        QVERIFY(!application.Terminated());
        atomicfile::setFailureInjection(nullptr);
        BookmarkBuffer.fill(0);
        QVERIFY(viewer_->close());
        QVERIFY(application.Terminated());
        QCOMPARE(read("oer"), expectedBookmarks());
        application.DestroyForms();
        FormEntrada = nullptr;
    }

    void aPlayingVideoIsClosedFirst() {
        viewer_->VideoPlaying = true;
        viewer_->videoTimer->start();
        QVERIFY(viewer_->close());
        QVERIFY(!viewer_->videoTimer->isActive());
    }
};

QTEST_MAIN(TestVisorClose)
#include "test_visor_close.moc"
