// The bookmark and annotation dialogs: layout, lists equal to the tables,
// limits and cuts, adding, deleting and going to, and the round trip through
// the files the viewer's close writes.

#include "anadir.h"
#include "dialogsupport.h"
#include "formaentrada.h"
#include "impresion.h"
#include "marcacion.h"
#include "messagebox.h"
#include "vermarcas.h"
#include "visor_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace visortest;

namespace {

// Bookmark i: "mi" at topic i. Annotation i: title "Ti", note "ni", topic i.
QByteArray bookmarkFile(int count) {
    std::vector<std::pair<QByteArray, int32_t>> marks;
    for (int i = 1; i <= count; ++i)
        marks.emplace_back("m" + QByteArray::number(i), i);
    return bookmarkRecords(marks);
}
QByteArray annotationFile(int count) {
    std::vector<Note> notes;
    for (int i = 1; i <= count; ++i)
        notes.push_back({i, "T" + QByteArray::number(i), "n" + QByteArray::number(i)});
    return annotationRecords(notes);
}

QStringList bookmarkNames() {
    QStringList names;
    for (int i = 1; i <= BookmarkCount; ++i)
        names << ansi::toQt(Bookmarks[i].Name);
    return names;
}
QStringList annotationTitles() {
    QStringList titles;
    for (int i = 1; i <= AnnotationCount; ++i)
        titles << ansi::toQt(Annotations[i].Title);
    return titles;
}

} // namespace

class TestDialogsNotes : public QObject, ViewerTest {
    Q_OBJECT

private:
    std::unique_ptr<TformaVerMarcas> verMarcas_;
    std::unique_ptr<TformaMarcacion> marcacion_;
    std::unique_ptr<TformaAnotaciones> anotaciones_;

    // The viewer and the three dialogs, created in the program's order.
    void start() {
        viewer_ = createViewer();
        verMarcas_ = createDialog<TformaVerMarcas>(4);
        marcacion_ = createDialog<TformaMarcacion>(9);
        anotaciones_ = createDialog<TformaAnotaciones>(8);
        showViewer();
    }
    void stop() {
        anotaciones_.reset();
        marcacion_.reset();
        verMarcas_.reset();
        destroyViewer();
    }
    void open(int code) {
        TForm *dialog = viewer_->DialogForm(code);
        viewer_->ShowDialog(dialog, code);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
    }
    int goTo(const char *context) {
        viewer_->Medview1->OpenTopicByContext(QString::fromLatin1(context));
        return viewer_->Medview1->TopicIndex();
    }
    void addBookmark(const QString &name) {
        QTest::keyClicks(marcacion_->Edit1, name);
        QTest::mouseClick(marcacion_->Button1, Qt::LeftButton);
    }
    void annotate(const QString &note) {
        anotaciones_->Memo1->setPlainText(note);
        QTest::mouseClick(anotaciones_->Button1, Qt::LeftButton);
    }
    // Both bookmark lists (the choosing one as its next activation shows it)
    // and the annotation list hold the tables' entries in use.
    void verifyListsEqualTables() {
        QCOMPARE(dialogtest::lines(marcacion_->ListBox1), bookmarkNames());
        QCOMPARE(dialogtest::lines(anotaciones_->ListBox1), annotationTitles());
        QVERIFY(dialogtest::activate(verMarcas_.get()));
        QCOMPARE(dialogtest::lines(verMarcas_->ListBox1), bookmarkNames());
    }
    QByteArray stored(const char *extension) const {
        return folder_->scratch().read(QStringLiteral("prueba.") + QLatin1String(extension));
    }

private slots:
    void init() { writeFolder(); }
    void cleanup() {
        stop();
        folder_.reset();
    }

    void layout() {
        start();
        const std::tuple<int, const char *, QSize> dialogs[] = {
            {9, "Definir marcas en el libro", {454, 283}},
            {4, "Seleccionar marcas del libro", {323, 196}},
            {8, "Añadir anotaciones ", {513, 270}}};
        for (const auto &[code, caption, size] : dialogs) {
            open(code);
            TForm *dialog = viewer_->DialogForm(code);
            QCOMPARE(dialog->windowTitle(), QString::fromUtf8(caption));
            QCOMPARE(dialog->size(), size);
            QCOMPARE(dialogtest::cutOffTexts(dialog), QStringList());
        }
    }

    // Every whole record is listed, past the dialogs' limits too; a load that
    // fails lists what the table already holds.
    void loading_data() {
        QTest::addColumn<QByteArray>("oer");
        QTest::addColumn<QByteArray>("cdb");
        QTest::addColumn<int>("bookmarks");
        QTest::addColumn<int>("annotations");
        QTest::newRow("no files") << QByteArray() << QByteArray() << 0 << 0;
        QTest::newRow("fragments") << bookmarkFile(2) + "1234" << annotationFile(2) + "x" << 2 << 2;
        QTest::newRow("past the limits") << bookmarkFile(130) << annotationFile(60) << 130 << 60;
        QTest::newRow("failing") << QByteArray("dir") << QByteArray("dir") << 2 << 1;
    }
    void loading() {
        QFETCH(QByteArray, oer);
        QFETCH(QByteArray, cdb);
        QFETCH(int, bookmarks);
        QFETCH(int, annotations);
        const QDir folder(folder_->scratch().path());
        const bool failing = oer == "dir";
        if (failing) { // read before the failure
            folder.mkdir(QStringLiteral("prueba.oer"));
            folder.mkdir(QStringLiteral("prueba.cdb"));
            BookmarkCount = 2;
            Bookmarks[1] = {"uno", 1};
            Bookmarks[2] = {AnsiString(40, 'n'), 2};
            AnnotationCount = 1;
            Annotations[1] = {1, "T\xEDtulo", "nota"};
        } else if (!oer.isEmpty()) {
            folder_->scratch().write(QStringLiteral("prueba.oer"), oer);
            folder_->scratch().write(QStringLiteral("prueba.cdb"), cdb);
        }
        testsupport::ErrorRecorder errors;
        start();
        QCOMPARE(errors.messages.size(), failing ? 2 : 0);
        QCOMPARE(BookmarkCount, bookmarks);
        QCOMPARE(AnnotationCount, annotations);
        verifyListsEqualTables();
        QVERIFY(dialogtest::activate(marcacion_.get()));
        QCOMPARE(marcacion_->Button3->isEnabled(), bookmarks > 0);
        QCOMPARE(folder.exists(QStringLiteral("prueba.oer")), bookmarks > 0);
    }

    // The dialog makes bookmarks while fewer than 50 exist, from a name of at
    // most 39 typed characters; the edit box empties in every case.
    void addingBookmarks_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("last");
        QTest::newRow("first") << 0 << "Marca uno" << 1 << "Marca uno";
        QTest::newRow("cut to 39") << 0 << QString(45, 'n') << 1 << QString(39, 'n');
        QTest::newRow("fiftieth") << 49 << "Otra" << 50 << "Otra";
        QTest::newRow("full") << 50 << "Otra" << 50 << "m50";
        QTest::newRow("past the limit from a file") << 60 << "Otra" << 60 << "m60";
    }
    void addingBookmarks() {
        QFETCH(int, before);
        QFETCH(QString, typed);
        QFETCH(int, after);
        QFETCH(QString, last);
        folder_->scratch().write(QStringLiteral("prueba.oer"), bookmarkFile(before));
        start();
        const int topic = goTo("CAP1");
        open(9);
        testsupport::ErrorRecorder errors;
        addBookmark(typed);
        QCOMPARE(BookmarkCount, after);
        QCOMPARE(ansi::toQt(Bookmarks[after].Name), last);
        QCOMPARE(Bookmarks[after].Topic, after > before ? topic : after);
        QCOMPARE(marcacion_->Edit1->text(), QString());
        QVERIFY(!marcacion_->Button1->isEnabled());
        QVERIFY(marcacion_->Button3->isEnabled());
        QCOMPARE(errors.messages, QStringList());
        verifyListsEqualTables();
    }

    void deletingAndChoosingBookmarks() {
        start();
        open(9);
        int topics[3];
        const char *contexts[] = {"PORTADA", "CAP1", "CAP2"};
        for (int i = 0; i < 3; ++i) {
            topics[i] = goTo(contexts[i]);
            addBookmark(QString::fromLatin1(contexts[i]));
        }
        open(4);
        dialogtest::clickLine(verMarcas_->ListBox1, 1, true);
        QCOMPARE(viewer_->Medview1->TopicIndex(), topics[1]);
        QVERIFY(verMarcas_->isVisible());

        open(9);
        dialogtest::clickLine(marcacion_->ListBox1, 0);
        QTest::mouseClick(marcacion_->Button3, Qt::LeftButton);
        QTest::mouseClick(marcacion_->Button3, Qt::LeftButton); // nothing selected now
        QCOMPARE(bookmarkNames(), (QStringList{"CAP1", "CAP2"}));
        QCOMPARE(Bookmarks[2].Topic, topics[2]);
        verifyListsEqualTables();

        // With none left, the choosing list is empty too.
        QVERIFY(dialogtest::activate(marcacion_.get()));
        for (int i = 0; i < 2; ++i) {
            dialogtest::clickLine(marcacion_->ListBox1, 0);
            QTest::mouseClick(marcacion_->Button3, Qt::LeftButton);
        }
        QVERIFY(marcacion_->Button3->isEnabled());
        verifyListsEqualTables();
        QCOMPARE(verMarcas_->ListBox1->count(), 0);
    }

    // The memo's shown lines, each followed by a blank, cut to 255; refused
    // aloud with 50 annotations, keeping what was typed also once the message
    // box hands the activation back.
    void annotating_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("note");
        auto row = [](const char *tag, int before, const QString &memo, const QString &note) {
            QTest::newRow(tag) << before << memo << note;
        };
        row("two lines", 0, "uno\ndos", "uno dos ");
        row("final line break", 0, "uno\n", "uno ");
        row("empty lines", 0, "\n\nx", "  x ");
        row("a line break alone", 0, "\n", " ");
        row("cut to 255", 0, QString("abcdefghi\n").repeated(30),
            QString("abcdefghi ").repeated(30).left(255));
        row("empty memo", 0, "", "");
        row("fiftieth", 49, "x", "x ");
        row("full", 50, "x", "");
        row("past the limit from a file", 60, "x", "");
    }
    void annotating() {
        QFETCH(int, before);
        QFETCH(QString, memo);
        QFETCH(QString, note);
        folder_->scratch().write(QStringLiteral("prueba.cdb"), annotationFile(before));
        start();
        const int topic = goTo("CAP1A");
        open(8);
        testsupport::ErrorRecorder errors;
        QWidget box; // the error box: it takes the activation, then gives it back
        errorreport::setReporter([&](const QString &message) {
            errors.messages << message;
            QVERIFY(dialogtest::activate(&box));
            box.hide();
        });
        annotate(memo);
        QVERIFY(dialogtest::activate(anotaciones_.get()));
        QCOMPARE(AnnotationCount, note.isEmpty() ? before : before + 1);
        QCOMPARE(errors.messages.size(), before >= 50 ? 1 : 0);
        QCOMPARE(anotaciones_->Memo1->toPlainText(), memo);
        if (!note.isEmpty()) {
            const TAnotacionRec &added = Annotations[AnnotationCount];
            QCOMPARE(ansi::toQt(added.Note), note);
            QCOMPARE(added.Topic, topic);
            QCOMPARE(ansi::toQt(added.Title), QStringLiteral("Sección 1.1"));
        }
        verifyListsEqualTables();
    }

    void aWrappedParagraphCountsAsItsShownLines() {
        start();
        open(8);
        const QString paragraph = QString("palabra ").repeated(12).trimmed();
        annotate(paragraph);
        const int shownLines = int(anotaciones_->MemoLines().size());
        QVERIFY(shownLines > 1);
        // The blanks at the wraps stay, and each shown line adds one.
        QCOMPARE(int(Annotations[1].Note.size()), paragraph.size() + shownLines);
    }

    void choosingGoingToAndDeletingAnnotations() {
        folder_->scratch().write(QStringLiteral("prueba.cdb"), annotationFile(3));
        start();
        open(8);
        QTest::mouseClick(anotaciones_->Button2, Qt::LeftButton); // nothing selected
        QTest::mouseClick(anotaciones_->Button3, Qt::LeftButton);
        QCOMPARE(AnnotationCount, 3);
        dialogtest::clickLine(anotaciones_->ListBox1, 1);
        QCOMPARE(anotaciones_->Memo1->toPlainText(), QStringLiteral("n2"));
        QTest::mouseClick(anotaciones_->Button2, Qt::LeftButton);
        QCOMPARE(viewer_->Medview1->TopicIndex(), 2);
        QVERIFY(anotaciones_->isVisible());
        QTest::mouseClick(anotaciones_->Button3, Qt::LeftButton);
        QCOMPARE(annotationTitles(), (QStringList{"T1", "T3"}));
        QCOMPARE(anotaciones_->Memo1->toPlainText(), QString());
        verifyListsEqualTables();

        // From the keyboard: Tab into the list, Space chooses the line it
        // entered on, the arrows the next.
        open(8);
        anotaciones_->Button1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(anotaciones_.get(), Qt::Key_Tab);
        QCOMPARE(anotaciones_->focusWidget(), anotaciones_->ListBox1);
        QTest::keyClick(anotaciones_->ListBox1, Qt::Key_Space);
        QCOMPARE(anotaciones_->Memo1->toPlainText(), QStringLiteral("n1"));
        QTest::keyClick(anotaciones_->ListBox1, Qt::Key_Down);
        QCOMPARE(anotaciones_->Memo1->toPlainText(), QStringLiteral("n3"));

        // Back from the viewer, the memo is empty and no line is selected.
        open(8);
        dialogtest::clickLine(anotaciones_->ListBox1, 0);
        anotaciones_->Memo1->setPlainText(QStringLiteral("sin añadir"));
        viewer_->activateWindow();
        QTRY_COMPARE(anotaciones_->Memo1->toPlainText(), QString());
        QCOMPARE(anotaciones_->ListBox1->selectedItems().size(), 0);
    }

    // After a delete no line is selected, so a second press removes nothing.
    void aDeleteLeavesNoLineSelected_data() {
        QTest::addColumn<bool>("printList"); // else the annotations
        QTest::newRow("print list") << true;
        QTest::newRow("annotations") << false;
    }
    void aDeleteLeavesNoLineSelected() {
        QFETCH(bool, printList);
        start();
        const std::unique_ptr<TformaImpresion> impresion = createDialog<TformaImpresion>(10);
        open(printList ? 10 : 8);
        QListWidget *list = printList ? impresion->ListBox1 : anotaciones_->ListBox1;
        QPushButton *remove = printList ? impresion->Button3 : anotaciones_->Button3;
        for (int i = 0; i < 3; ++i)
            printList ? QTest::mouseClick(impresion->Button2, Qt::LeftButton) // the page shown
                      : annotate(QStringLiteral("nota"));
        dialogtest::clickLine(list, 1);
        QTest::mouseClick(remove, Qt::LeftButton);
        QTest::mouseClick(remove, Qt::LeftButton);
        QCOMPARE(list->count(), 2);
        QCOMPARE(printList ? PrintCount : AnnotationCount, 2);
        stop();
    }

    // No stored record is lost: a read-only file is listed whole and kept as
    // it is, the viewer open; a file that could not be read to its end is left
    // as it is, the user told, and the close still ends the program.
    void storedBookmarksSurviveTheirLoad_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("read-only") << QStringLiteral("read-only");
        QTest::newRow("cannot be opened") << QStringLiteral("directory");
        QTest::newRow("read fails") << QStringLiteral("read-only directory");
    }
    void storedBookmarksSurviveTheirLoad() {
        QFETCH(QString, damage);
        const QString oer = folder_->path(QStringLiteral("prueba.oer"));
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        if (damage == QLatin1String("read-only")) {
            folder_->scratch().write(QStringLiteral("prueba.oer"), bookmarkFile(2));
            QFile::setPermissions(oer, readOnly);
        } else {
            QVERIFY(QDir().mkdir(oer));
            if (damage == QLatin1String("read-only directory"))
                QFile::setPermissions(oer, readOnly | QFile::ExeOwner);
        }
        testsupport::ErrorRecorder errors;
        start();
        QCOMPARE(errors.messages.size(), 1);
        open(9);
        addBookmark(QStringLiteral("nueva"));
        FormEntrada = nullptr;
        if (damage == QLatin1String("read-only")) {
            QCOMPARE(dialogtest::lines(marcacion_->ListBox1), (QStringList{"m1", "m2", "nueva"}));
            QCOMPARE(errors.messages, QStringList{"File access denied"});
            QTest::mouseClick(viewer_->ToolButton21, Qt::LeftButton);
            QCOMPARE(errors.messages, (QStringList{"File access denied", "File access denied"}));
            QVERIFY(viewer_->isVisible());
            QCOMPARE(stored("oer"), bookmarkFile(2));
            return;
        }
        messagebox::RecordingMessages told;
        QTest::mouseClick(viewer_->ToolButton21, Qt::LeftButton);
        QVERIFY(!viewer_->isVisible());
        // The user is told which file kept its old content, and why.
        QCOMPARE(
            told.texts,
            std::vector<QString>{
                QStringLiteral("No se guardaron los cambios de esta sesión en %1: el archivo no "
                               "se pudo leer entero al empezar (%2).")
                    .arg(oer, errors.messages[0])});
        QVERIFY(QFileInfo(oer).isDir());
        QFile::setPermissions(oer, readOnly | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QFile::exists(folder_->path(QStringLiteral("prueba.cdb"))));
    }

    // Made in one run, saved by the viewer's close, there in the next; a run
    // that changes nothing saves the same bytes.
    void roundTripThroughTheViewersClose() {
        start();
        open(9);
        for (const char *context : {"PORTADA", "CAP1", "CAP2"}) {
            goTo(context);
            addBookmark(QString::fromLatin1(context));
        }
        open(8);
        goTo("PORTADA");
        annotate("primera");
        goTo("CAP1");
        annotate("segunda");
        QVERIFY(viewer_->close());
        const QByteArray oer = stored("oer");
        const QByteArray cdb = stored("cdb");
        QCOMPARE(oer.size(), 3 * kBookmarkRecordSize);
        QCOMPARE(cdb.size(), 2 * kAnnotationRecordSize);
        QCOMPARE(oer.mid(kBookmarkRecordSize, 5), QByteArray(1, 4) + "CAP1");
        QCOMPARE(cdb.mid(kAnnotationRecordSize + 260, 9), QByteArray("\x08segunda "));

        stop();
        ResetNavigationState();
        start();
        QCOMPARE(dialogtest::lines(marcacion_->ListBox1), (QStringList{"PORTADA", "CAP1", "CAP2"}));
        QCOMPARE(dialogtest::lines(anotaciones_->ListBox1), (QStringList{"Portada", "Capítulo 1"}));
        QVERIFY(viewer_->close());
        QCOMPARE(stored("oer"), oer);
        QCOMPARE(stored("cdb"), cdb);
    }
};

QTEST_MAIN(TestDialogsNotes)
#include "test_dialogs_notes.moc"
