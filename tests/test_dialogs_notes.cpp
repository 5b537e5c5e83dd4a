// The bookmark and annotation dialogs: their layout, the lists equal to the
// tables, the dialogs' limits and cuts, adding, deleting and going to, and the
// round trip through the files that the viewer's close writes.

#include "anadir.h"
#include "dialogsupport.h"
#include "marcacion.h"
#include "vermarcas.h"
#include "visor_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace visortest;

namespace {

QByteArray bookmarkFile(int count, int nameLength = 5) {
    QByteArray file;
    for (int i = 1; i <= count; ++i) {
        QByteArray record(kBookmarkRecordSize, '\0');
        record[0] = char(nameLength);
        record.replace(1, nameLength, QByteArray(nameLength, char('a' + i % 26)));
        record[44] = char(i);
        file += record;
    }
    return file;
}

QByteArray annotationFile(int count) {
    QByteArray file;
    for (int i = 1; i <= count; ++i) {
        QByteArray record(kAnnotationRecordSize, '\0');
        record[0] = char(i);
        record[4] = 2;
        record.replace(5, 2, "T" + QByteArray::number(i % 10));
        record[260] = 1;
        record[261] = 'n';
        file += record;
    }
    return file;
}

QStringList lines(const QListWidget *list) {
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    return shown;
}

template <typename T, typename Text>
QStringList tableTexts(OneBasedTable<T> &table, int32_t count, Text text) {
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts << ansi::toQt(text(table[i]));
    return texts;
}

QStringList bookmarkNames() {
    return tableTexts(Bookmarks, BookmarkCount, [](const TMarcaRec &m) { return m.Name; });
}
QStringList annotationTitles() {
    return tableTexts(Annotations, AnnotationCount, [](const TAnotacionRec &a) { return a.Title; });
}

void clickLine(QListWidget *list, int line, bool twice = false) {
    const QPoint at = list->visualItemRect(list->item(line)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class TestDialogsNotes : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TitleFolder> folder_;
    std::unique_ptr<TformaVisor> viewer_;
    std::unique_ptr<TformaVerMarcas> verMarcas_;
    std::unique_ptr<TformaMarcacion> marcacion_;
    std::unique_ptr<TformaAnotaciones> anotaciones_;

    // The viewer and the three dialogs, created in the program's order.
    void start() {
        viewer_ = createViewer();
        verMarcas_ = std::make_unique<TformaVerMarcas>();
        runHandler(verMarcas_->OnCreate);
        marcacion_ = std::make_unique<TformaMarcacion>();
        runHandler(marcacion_->OnCreate);
        anotaciones_ = std::make_unique<TformaAnotaciones>();
        runHandler(anotaciones_->OnCreate);
        viewer_->RegisterDialog(4, verMarcas_.get());
        viewer_->RegisterDialog(8, anotaciones_.get());
        viewer_->RegisterDialog(9, marcacion_.get());
        viewer_->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer_.get()));
    }
    void stop() {
        anotaciones_.reset();
        marcacion_.reset();
        verMarcas_.reset();
        viewer_.reset();
        formaVisor = nullptr;
    }
    void open(TDialogForm *dialog, int code) {
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
    QByteArray stored(const char *extension) const {
        return folder_->scratch().read(QStringLiteral("prueba.") + QLatin1String(extension));
    }

private slots:
    void init() {
        folder_ = std::make_unique<TitleFolder>();
        folder_->writeAll();
        BookmarkBuffer.fill(0);
        AnnotationBuffer.fill(0);
    }
    void cleanup() {
        stop();
        folder_.reset();
    }

    void layout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("tabOrder");
        QTest::newRow("define") << 9 << "Definir marcas en el libro" << QSize(454, 283)
                                << QStringList{"Edit1", "ListBox1", "Button1", "Button2",
                                               "Button3"};
        QTest::newRow("choose") << 4 << "Seleccionar marcas del libro" << QSize(323, 196)
                                << QStringList{"ListBox1"};
        QTest::newRow("annotate") << 8 << "Añadir anotaciones " << QSize(513, 270)
                                  << QStringList{"Button1", "ListBox1", "Button2",
                                                 "Button3", "Button4",  "Memo1"};
    }
    void layout() {
        QFETCH(int, code);
        QFETCH(QString, caption);
        QFETCH(QSize, size);
        QFETCH(QStringList, tabOrder);
        start();
        auto *dialog = static_cast<TDialogForm *>(viewer_->DialogForm(code));
        open(dialog, code);
        QCOMPARE(dialog->windowTitle(), caption);
        QCOMPARE(dialog->size(), size);
        QCOMPARE(dialogtest::cutOffTexts(dialog), QStringList());
        QStringList order;
        QWidget *first = dialog->findChild<QWidget *>(tabOrder.first());
        for (QWidget *w = first; order.size() < tabOrder.size(); w = w->nextInFocusChain())
            if (tabOrder.contains(w->objectName()) && !order.contains(w->objectName()))
                order << w->objectName();
        QCOMPARE(order, tabOrder);
    }

    // Every whole record is listed, past the dialogs' limits too; a failed
    // load lists what the table holds.
    void loading_data() {
        QTest::addColumn<QByteArray>("oer");
        QTest::addColumn<QByteArray>("cdb");
        QTest::addColumn<int>("bookmarks");
        QTest::addColumn<int>("annotations");
        QTest::newRow("no files") << QByteArray() << QByteArray() << 0 << 0;
        QTest::newRow("fragments")
            << bookmarkFile(2, 40) + "1234" << annotationFile(2) + QByteArray(68, 'x') << 2 << 2;
        QTest::newRow("past the limits") << bookmarkFile(130) << annotationFile(60) << 130 << 60;
    }
    void loading() {
        QFETCH(QByteArray, oer);
        QFETCH(QByteArray, cdb);
        QFETCH(int, bookmarks);
        QFETCH(int, annotations);
        if (!oer.isEmpty()) {
            folder_->scratch().write(QStringLiteral("prueba.oer"), oer);
            folder_->scratch().write(QStringLiteral("prueba.cdb"), cdb);
        }
        start();
        QCOMPARE(BookmarkCount, bookmarks);
        QCOMPARE(AnnotationCount, annotations);
        QCOMPARE(lines(marcacion_->ListBox1), bookmarkNames());
        QCOMPARE(lines(anotaciones_->ListBox1), annotationTitles());
        QVERIFY(dialogtest::activate(verMarcas_.get()));
        QCOMPARE(lines(verMarcas_->ListBox1), bookmarkNames());
        QVERIFY(dialogtest::activate(marcacion_.get()));
        QCOMPARE(marcacion_->Button3->isEnabled(), bookmarks > 0);
        QCOMPARE(QFile::exists(folder_->path(QStringLiteral("prueba.oer"))), bookmarks > 0);
        if (bookmarks == 2)
            QCOMPARE(Bookmarks[2].Name.size(), size_t(40));
    }

    void aFailedLoadListsTheRecordsAlreadyRead() {
        BookmarkCount = 2;
        Bookmarks[1] = {"uno", 1};
        Bookmarks[2] = {"dos", 2};
        AnnotationCount = 1;
        Annotations[1] = {1, "T\xEDtulo", "nota"};
        QDir(folder_->scratch().path()).mkdir(QStringLiteral("prueba.oer"));
        QDir(folder_->scratch().path()).mkdir(QStringLiteral("prueba.cdb"));
        testsupport::ErrorRecorder errors;
        start();
        QCOMPARE(errors.messages.size(), 2);
        QCOMPARE(lines(marcacion_->ListBox1), (QStringList{"uno", "dos"}));
        QCOMPARE(lines(anotaciones_->ListBox1), QStringList{QStringLiteral("Título")});
    }

    // The dialog makes bookmarks while fewer than 50 exist, from a name of at
    // most 39 typed characters; the edit box empties in every case.
    void addingBookmarks_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("after");
        QTest::addColumn<QString>("stored");
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
        QFETCH(QString, stored);
        for (BookmarkCount = 0; BookmarkCount < before;)
            Bookmarks[++BookmarkCount] = {"m" + std::to_string(BookmarkCount + 1), 0};
        start();
        const int topic = goTo("CAP1");
        open(marcacion_.get(), 9);
        testsupport::ErrorRecorder errors;
        addBookmark(typed);
        QCOMPARE(BookmarkCount, after);
        QCOMPARE(ansi::toQt(Bookmarks[after].Name), stored);
        if (after > before)
            QCOMPARE(Bookmarks[after].Topic, topic);
        QCOMPARE(lines(marcacion_->ListBox1), bookmarkNames());
        QCOMPARE(marcacion_->Edit1->text(), QString());
        QVERIFY(!marcacion_->Button1->isEnabled());
        QVERIFY(marcacion_->Button3->isEnabled());
        QCOMPARE(errors.messages, QStringList());
    }

    void deletingAndChoosingBookmarks() {
        start();
        open(marcacion_.get(), 9);
        const std::pair<const char *, const char *> marks[] = {
            {"uno", "PORTADA"}, {"dos", "CAP1"}, {"tres", "CAP2"}};
        int topics[3];
        for (int i = 0; i < 3; ++i) {
            topics[i] = goTo(marks[i].second);
            addBookmark(QString::fromLatin1(marks[i].first));
        }
        open(verMarcas_.get(), 4);
        QCOMPARE(lines(verMarcas_->ListBox1), (QStringList{"uno", "dos", "tres"}));
        clickLine(verMarcas_->ListBox1, 1, true);
        QCOMPARE(viewer_->Medview1->TopicIndex(), topics[1]);
        QVERIFY(verMarcas_->isVisible());

        open(marcacion_.get(), 9);
        clickLine(marcacion_->ListBox1, 0);
        QTest::mouseClick(marcacion_->Button3, Qt::LeftButton);
        QCOMPARE(bookmarkNames(), (QStringList{"dos", "tres"}));
        QCOMPARE(Bookmarks[2].Topic, topics[2]);
        QCOMPARE(lines(marcacion_->ListBox1), bookmarkNames());
        QTest::mouseClick(marcacion_->Button3, Qt::LeftButton); // nothing selected
        QCOMPARE(BookmarkCount, 2);
        QVERIFY(dialogtest::activate(verMarcas_.get()));
        QCOMPARE(lines(verMarcas_->ListBox1), bookmarkNames());

        // With none left, the list of the other dialog empties too.
        QVERIFY(dialogtest::activate(marcacion_.get()));
        for (int i = 0; i < 2; ++i) {
            clickLine(marcacion_->ListBox1, 0);
            QTest::mouseClick(marcacion_->Button3, Qt::LeftButton);
        }
        QCOMPARE(BookmarkCount, 0);
        QVERIFY(marcacion_->Button3->isEnabled());
        QVERIFY(dialogtest::activate(verMarcas_.get()));
        QCOMPARE(verMarcas_->ListBox1->count(), 0);
    }

    // The memo's shown lines, each followed by a blank, cut to 255; refused
    // aloud with 50 annotations, keeping what was typed.
    void annotating_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("note");
        QTest::newRow("two lines") << 0 << "uno\ndos"
                                   << "uno dos ";
        QTest::newRow("final line break") << 0 << "uno\n"
                                          << "uno ";
        QTest::newRow("empty lines") << 0 << "\n\nx"
                                     << "  x ";
        QTest::newRow("a line break alone") << 0 << "\n"
                                            << " ";
        QTest::newRow("cut to 255") << 0 << QString("abcdefghi\n").repeated(30)
                                    << QString("abcdefghi ").repeated(30).left(255);
        QTest::newRow("empty memo") << 0 << ""
                                    << "";
        QTest::newRow("fiftieth") << 49 << "x"
                                  << "x ";
        QTest::newRow("full") << 50 << "x"
                              << "";
        QTest::newRow("past the limit from a file") << 60 << "x"
                                                    << "";
    }
    void annotating() {
        QFETCH(int, before);
        QFETCH(QString, memo);
        QFETCH(QString, note);
        for (AnnotationCount = 0; AnnotationCount < before;)
            Annotations[++AnnotationCount] = {0, "t", "n"};
        start();
        const int topic = goTo("CAP1A");
        open(anotaciones_.get(), 8);
        testsupport::ErrorRecorder errors;
        annotate(memo);
        QCOMPARE(AnnotationCount, note.isEmpty() ? before : before + 1);
        QCOMPARE(lines(anotaciones_->ListBox1), annotationTitles());
        if (!note.isEmpty()) {
            QCOMPARE(ansi::toQt(Annotations[AnnotationCount].Note), note);
            QCOMPARE(Annotations[AnnotationCount].Topic, topic);
            QCOMPARE(ansi::toQt(Annotations[AnnotationCount].Title), QStringLiteral("Sección 1.1"));
        }
        QCOMPARE(anotaciones_->Memo1->toPlainText(), memo);
        QCOMPARE(errors.messages.size(), before >= 50 ? 1 : 0);
    }

    void aWrappedParagraphCountsAsItsShownLines() {
        start();
        open(anotaciones_.get(), 8);
        const QString paragraph = QString("palabra ").repeated(12).trimmed();
        annotate(paragraph);
        QVERIFY(anotaciones_->MemoLines().size() > 1);
        // The blanks at the wraps stay, and each shown line adds one.
        QCOMPARE(int(Annotations[1].Note.size()),
                 paragraph.size() + anotaciones_->MemoLines().size());
    }

    void choosingGoingToAndDeletingAnnotations() {
        folder_->scratch().write(QStringLiteral("prueba.cdb"), annotationFile(3));
        start();
        open(anotaciones_.get(), 8);
        QTest::mouseClick(anotaciones_->Button2, Qt::LeftButton); // nothing selected
        QTest::mouseClick(anotaciones_->Button3, Qt::LeftButton);
        QCOMPARE(AnnotationCount, 3);
        anotaciones_->Memo1->setPlainText("escrito");
        clickLine(anotaciones_->ListBox1, 1);
        QCOMPARE(anotaciones_->Memo1->toPlainText(), QStringLiteral("n"));
        QTest::mouseClick(anotaciones_->Button2, Qt::LeftButton);
        QCOMPARE(viewer_->Medview1->TopicIndex(), 2);
        QVERIFY(anotaciones_->isVisible());
        QTest::mouseClick(anotaciones_->Button3, Qt::LeftButton);
        QCOMPARE(annotationTitles(), (QStringList{"T1", "T3"}));
        QCOMPARE(lines(anotaciones_->ListBox1), annotationTitles());
        QCOMPARE(anotaciones_->Memo1->toPlainText(), QString());

        // Back from the viewer, the memo is empty and no line is selected.
        clickLine(anotaciones_->ListBox1, 0);
        anotaciones_->Memo1->setPlainText(QStringLiteral("sin añadir"));
        viewer_->activateWindow();
        QTRY_COMPARE(anotaciones_->Memo1->toPlainText(), QString());
        QCOMPARE(anotaciones_->ListBox1->selectedItems().size(), 0);
    }

    // Made in one run, saved by the viewer's close, there in the next; a run
    // that changes nothing saves the same bytes.
    void roundTripThroughTheViewersClose() {
        start();
        open(marcacion_.get(), 9);
        const int topics[] = {goTo("PORTADA"), goTo("CAP1"), goTo("CAP2")};
        for (int i = 0; i < 3; ++i) {
            viewer_->Medview1->setTopicIndex(topics[i]);
            addBookmark(QStringLiteral("Marca %1").arg(i + 1));
        }
        open(anotaciones_.get(), 8);
        goTo("PORTADA");
        annotate("primera");
        goTo("CAP1");
        annotate("segunda");
        QVERIFY(viewer_->close());
        const QByteArray oer = stored("oer");
        const QByteArray cdb = stored("cdb");
        QCOMPARE(oer.size(), 3 * kBookmarkRecordSize);
        QCOMPARE(cdb.size(), 2 * kAnnotationRecordSize);
        QCOMPARE(oer.mid(kBookmarkRecordSize, 8), QByteArray("\x07Marca 2"));
        QCOMPARE(cdb.mid(kAnnotationRecordSize + 260, 9), QByteArray("\x08segunda "));

        stop();
        ResetNavigationState();
        start();
        QCOMPARE(lines(marcacion_->ListBox1), (QStringList{"Marca 1", "Marca 2", "Marca 3"}));
        QCOMPARE(lines(anotaciones_->ListBox1), (QStringList{"Portada", "Capítulo 1"}));
        open(verMarcas_.get(), 4);
        clickLine(verMarcas_->ListBox1, 2, true);
        QCOMPARE(viewer_->Medview1->TopicIndex(), topics[2]);
        QVERIFY(viewer_->close());
        QCOMPARE(stored("oer"), oer);
        QCOMPARE(stored("cdb"), cdb);
    }
};

QTEST_MAIN(TestDialogsNotes)
#include "test_dialogs_notes.moc"
