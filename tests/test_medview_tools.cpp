// The title view control's reading tools: search with its scopes and
// highlighting, topic lists, printing, copying, and titles that cannot open.

#include "test_medview_fixture.h"
#include "testsupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <sqlite3.h>

using namespace medviewtest;

namespace {

QStringList hitTitles(TMedview &control) {
    QStringList titles;
    for (int i = 0; i < control.SearchHitCount(); ++i)
        titles << control.SearchHitTitle(i);
    return titles;
}

// The texts of the fragments that carry a background, in order.
QStringList highlighted(QTextBrowser *browser) {
    QStringList words;
    QTextDocument *document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().hasProperty(QTextFormat::BackgroundBrush))
                words << it.fragment().text();
        }
    }
    return words;
}

void writeForeignDatabase(const QString &file) {
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db,
                 "PRAGMA application_id = 7; CREATE TABLE topics(x); INSERT INTO topics VALUES(1);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace

class TestMedviewTools : public QObject, ControlTest {
    Q_OBJECT

private slots:
    void initTestCase() { writeTitle(); }

    void init() {
        showControl();
        openSample();
    }

    void cleanup() {
        destroyControl();
        qunsetenv("LECTOR_PRINT_TO_PDF");
    }

    void searchSyntax_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("titles");
        const QString camion = QStringLiteral("Camión rojo");
        const QString tercero = QStringLiteral("Tercer tema");
        QTest::newRow("accents and case") << "CAMION" << QStringList{camion, camion};
        QTest::newRow("all words") << "camion pueblo" << QStringList{camion};
        QTest::newRow("phrase") << "\"llegó temprano\"" << QStringList{camion};
        QTest::newRow("words out of phrase order") << "\"temprano llegó\"" << QStringList{};
        QTest::newRow("prefix") << "Ju*" << QStringList{tercero, camion};
        QTest::newRow("wildcard") << "j?ez" << QStringList{tercero};
        QTest::newRow("unbalanced quote") << "\"camion" << QStringList{};
        QTest::newRow("lone star") << "*" << QStringList{};
        QTest::newRow("punctuation") << "¿!?." << QStringList{};
    }

    void searchSyntax() {
        QFETCH(QString, query);
        QFETCH(QStringList, titles);
        control_->RunSearch(query);
        QCOMPARE(control_->SearchHitCount(), titles.size());
        QCOMPARE(hitTitles(*control_), titles);
        QCOMPARE(control_->SearchHitTitle(titles.size()), QString());
        QCOMPARE(control_->SearchHitTitle(-1), QString());
    }

    void searchScopes() {
        control_->setSearchMode(1);
        control_->RunSearch(QStringLiteral("camion"));
        QCOMPARE(control_->SearchHitCount(), 0); // Portada does not mention it
        control_->setTopicIndex(2);
        control_->RunSearch(QStringLiteral("camion"));
        QCOMPARE(hitTitles(*control_), QStringList{QStringLiteral("Camión rojo")});

        control_->setSearchMode(2);
        control_->BeginTopicList();
        control_->RunSearch(QStringLiteral("juez"));
        QCOMPARE(control_->SearchHitCount(), 0);
        control_->AddGroupToTopicList(QStringLiteral("CAP2"));
        control_->RunSearch(QStringLiteral("Ju*"));
        QCOMPARE(control_->SearchHitCount(), 2);
        control_->RunSearch(QStringLiteral("pueblo"));
        QCOMPARE(control_->SearchHitCount(), 0);

        control_->setSearchMode(0);
        control_->RunSearch(QStringLiteral("pueblo"));
        QCOMPARE(control_->SearchHitCount(), 1);
    }

    void highlightsSearchedWords() {
        control_->RunSearch(QStringLiteral("camion"));
        control_->setHiliteSearchHits(true);
        QVERIFY(control_->HiliteSearchHits());
        control_->setTopicIndex(2);
        QCOMPARE(highlighted(body(*control_)), QStringList{QStringLiteral("camión")});
        // A later search replaces the words, also in the topic shown.
        control_->RunSearch(QStringLiteral("juez"));
        QVERIFY(highlighted(body(*control_)).isEmpty());
        control_->setTopicIndex(3);
        QCOMPARE(highlighted(body(*control_)).size(), 120);
        control_->setHiliteSearchHits(false);
        QVERIFY(highlighted(body(*control_)).isEmpty());
        control_->RunSearch(QStringLiteral("\"camion"));
        control_->setHiliteSearchHits(true);
        QVERIFY(highlighted(body(*control_)).isEmpty());
    }

    void topicListsByGroup() {
        control_->BeginTopicList();
        control_->setTopicListMode(1);
        QCOMPARE(control_->TopicListMode(), 1);
        control_->AddGroupToTopicList(QStringLiteral("CAP2"));
        control_->AddGroupToTopicList(QStringLiteral("CAP1"));
        control_->AddGroupToTopicList(QStringLiteral("CAP2")); // already listed
        control_->AddGroupToTopicList(QStringLiteral("NINGUNO"));
        QCOMPARE(control_->TopicListCount(), 4);
        QVector<int> entries;
        for (int i = 0; i < control_->TopicListCount(); ++i)
            entries << control_->TopicListEntry(i);
        QCOMPARE(entries, QVector<int>({3, 5, 1, 2}));
        QCOMPARE(control_->TopicListEntry(4), 0);
        QCOMPARE(control_->TopicListEntry(-1), 0);
        control_->BeginTopicList();
        QCOMPARE(control_->TopicListCount(), 0);
    }

    void printsTopicsInOrderEachOnNewPages() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        const QString pdf = dir_.filePath(QStringLiteral("impresion.pdf"));
        qputenv("LECTOR_PRINT_TO_PDF", QFile::encodeName(pdf));
        control_->PrintTopic(2);
        control_->PrintTopic(3);
        control_->PrintTopic(999);
        control_->PrintTopic(1);
        control_->EndPrint();
        const QString text = testsupport::pdfText(pdf);
        const QStringList pages = text.split(QLatin1Char('\f'));
        auto pageOf = [&](const QString &needle) {
            for (int i = 0; i < pages.size(); ++i) {
                if (pages[i].contains(needle))
                    return i;
            }
            return -1;
        };
        QCOMPARE(pageOf(QStringLiteral("El camión rojo llegó")), 0);
        QCOMPARE(pageOf(QStringLiteral("Párrafo 1 del tercer")), 1);
        const int lastOfThird = pageOf(QStringLiteral("Párrafo 120 del tercer"));
        QVERIFY(lastOfThird > 1);
        QCOMPARE(pageOf(QStringLiteral("Portada del libro")), lastOfThird + 1);
        QVERIFY(pages[lastOfThird + 1].contains(QStringLiteral("bienvenida")));

        // The job is done: a second EndPrint prints nothing.
        QFile::remove(pdf);
        control_->EndPrint();
        QVERIFY(!QFile::exists(pdf));
    }

    void copiesSelectionOnly() {
        QClipboard *clipboard = QGuiApplication::clipboard();
        control_->setTopicIndex(2);
        clipboard->setText(QStringLiteral("antes"));
        QVERIFY(!control_->HasSelection());
        control_->CopySelection(2);
        QCOMPARE(clipboard->text(), QStringLiteral("antes"));

        QVERIFY(selectText(body(*control_), QStringLiteral("camión rojo")));
        QVERIFY(control_->HasSelection());
        control_->CopySelection(2);
        QCOMPARE(clipboard->text(), QStringLiteral("camión rojo"));
        QVERIFY(control_->HasSelection()); // copying keeps the selection

        char scratch[1020] = {};
        QVERIFY(fMVClearSelection(control_->lpMVSR(), scratch));
        QVERIFY(!control_->HasSelection());
        QVERIFY(!fMVClearSelection(0, scratch));
        QVERIFY(!fMVClearSelection(control_->lpMVSR() + 1000, scratch));

        control_->setTopicIndex(1);
        QTextCursor all(body(*control_)->document());
        all.select(QTextCursor::Document);
        body(*control_)->setTextCursor(all);
        control_->CopySelection(2);
        QVERIFY(clipboard->text().contains(QStringLiteral("bienvenida")));
        QCOMPARE(clipboard->image().size(), QSize(8, 6));
    }

    // A title that cannot be opened leaves the one shown; without a title the
    // control is empty and quiet.
    void badTitlesAreHandledQuietly_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("not a database") << "text";
        QTest::newRow("foreign database") << "foreign";
        QTest::newRow("truncated title") << "truncated";
        QTest::newRow("empty file") << "empty";
    }

    void badTitlesAreHandledQuietly() {
        QFETCH(QString, kind);
        const QString bad = dir_.filePath(kind + QStringLiteral(".dvk"));
        QFile::remove(bad);
        if (kind == QLatin1String("text")) {
            QFile out(bad);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("esto no es un título\n");
        } else if (kind == QLatin1String("foreign")) {
            writeForeignDatabase(bad);
        } else if (kind == QLatin1String("truncated")) {
            QFile in(file_);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QFile out(bad);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(in.read(in.size() / 2));
        } else if (kind == QLatin1String("empty")) {
            QFile out(bad);
            QVERIFY(out.open(QIODevice::WriteOnly));
        }
        const QString pdf = dir_.filePath(QStringLiteral("nada.pdf"));
        qputenv("LECTOR_PRINT_TO_PDF", QFile::encodeName(pdf));
        QGuiApplication::clipboard()->setText(QStringLiteral("antes"));

        const intptr_t shown = control_->HTITLE();
        QVERIFY(!control_->setMediaViewTitle(bad));
        QCOMPARE(control_->HTITLE(), shown);
        QVERIFY(control_->setMediaViewTitle(QString()));
        QSignalSpy changes(control_, &TMedview::OnTopicChanging);
        control_->setMediaViewTopic(QStringLiteral("Portada"));
        control_->setTopicIndex(1);
        control_->OpenTopicByContext(QStringLiteral("PORTADA"));
        control_->GoToFirstTopic();
        control_->GoToNextBrowseTopic();
        control_->GoToPreviousBrowseTopic();
        control_->GoToTopicPosition(1, 0);
        control_->ShowHotspotTarget(4);
        control_->BeginTopicList();
        control_->AddGroupToTopicList(QStringLiteral("CAP1"));
        control_->RunSearch(QStringLiteral("camion"));
        control_->setHiliteSearchHits(true);
        control_->CopySelection(2);
        control_->PrintTopic(1);
        control_->EndPrint();
        control_->ShowPopupStyle(14);
        char scratch[1020] = {};
        fMVClearSelection(control_->lpMVSR(), scratch);

        QCOMPARE(control_->HTITLE(), intptr_t(0));
        QCOMPARE(control_->MediaViewTitle(), QString());
        QCOMPARE(control_->MediaViewTopic(), QString());
        QCOMPARE(control_->TopicData(), QString());
        QCOMPARE(control_->TopicIndex(), 0);
        QCOMPARE(control_->TopicVA(), 0);
        QCOMPARE(control_->TopicScroll(), 0);
        QCOMPARE(control_->lpMVSR(), intptr_t(0));
        QVERIFY(!control_->HasSelection());
        QVERIFY(!control_->HasPreviousBrowseTopic());
        QVERIFY(!control_->HasNextBrowseTopic());
        QCOMPARE(control_->SearchHitCount(), 0);
        QCOMPARE(control_->SearchHitTitle(0), QString());
        QCOMPARE(control_->TopicListCount(), 0);
        QCOMPARE(control_->TopicListEntry(0), 0);
        QCOMPARE(changes.size(), 0);
        QVERIFY(!popup(*control_) || !popup(*control_)->isVisible());
        QVERIFY(body(*control_)->toPlainText().isEmpty());
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("antes"));
    }
};

QTEST_MAIN(TestMedviewTools)
#include "test_medview_tools.moc"
