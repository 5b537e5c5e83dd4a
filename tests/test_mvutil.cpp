#include "cmdline.h"
#include "errors.h"
#include "medview.h"
#include "mvutil.h"
#include "testsupport.h"
#include "titlebuilder.h"

#include <QDir>
#include <QtTest>
#include <cstring>

using testsupport::ScratchDir;

namespace {

QByteArray bookmarkRecord(const QByteArray &name, int32_t topic, char padding = 0) {
    QByteArray record(kBookmarkRecordSize, padding);
    record[0] = char(name.size());
    std::memcpy(record.data() + 1, name.constData(), size_t(name.size()));
    std::memcpy(record.data() + 44, &topic, 4);
    return record;
}

QByteArray annotationRecord(int32_t topic, const QByteArray &title, const QByteArray &note) {
    QByteArray record(kAnnotationRecordSize, 0);
    std::memcpy(record.data(), &topic, 4);
    record[4] = char(title.size());
    std::memcpy(record.data() + 5, title.constData(), size_t(title.size()));
    record[260] = char(note.size());
    std::memcpy(record.data() + 261, note.constData(), size_t(note.size()));
    return record;
}

int32_t int32At(const QByteArray &bytes, int offset) {
    int32_t value;
    std::memcpy(&value, bytes.constData() + offset, 4);
    return value;
}

// Title information entries served the way the runtime serves them.
TitleInfoFetch entries(const QList<QByteArray> &list) {
    return [list](int32_t k, char *buffer, size_t size) -> int32_t {
        if (k < 0 || k >= list.size())
            return -1;
        const QByteArray &text = list[k];
        const size_t length = std::min(size_t(text.size()), size - 1);
        std::memcpy(buffer, text.constData(), length);
        buffer[length] = '\0';
        return int32_t(length) + 1;
    };
}

void clearGroups() {
    for (int i = 1; i <= 20; ++i)
        Groups[i] = TGrupoRec();
}

} // namespace

class TestMvUtil : public QObject {
    Q_OBJECT

private slots:
    void init() {
        ResetNavigationState();
        std::memset(BookmarkBuffer.data(), 0, BookmarkBuffer.size());
        std::memset(AnnotationBuffer.data(), 0, AnnotationBuffer.size());
    }

    void initialisationTakesTitleAndBaseDirectory() {
        ScratchDir dir(true);
        SetCommandLine({"LectorDorvik"});
        CloseAfterLaunch = true;
        InitializeNavigationState();
        QCOMPARE(TitleName, AnsiString("general"));
        QVERIFY(!CloseAfterLaunch);
        QCOMPARE(BaseDir, ansi::fromQt(QDir::currentPath()) + "/");

        SetCommandLine({"LectorDorvik", "otro", "TEMA", "mas"});
        InitializeNavigationState();
        QCOMPARE(TitleName, AnsiString("otro"));

        QDir::setCurrent("/");
        InitializeNavigationState();
        QCOMPARE(BaseDir, AnsiString("/"));
    }

    void hundredByteBookmarkFileLoadsTwo() {
        ScratchDir dir;
        dir.write("t.oer", bookmarkRecord("uno", 7) + bookmarkRecord("dos", -3) + "abcd");
        QVERIFY(ReadBookmarkFile(ansi::fromQt(dir.filePath("t.oer"))));
        QCOMPARE(BookmarkCount, 2);
        QCOMPARE(Bookmarks[1].Name, AnsiString("uno"));
        QCOMPARE(Bookmarks[1].Topic, 7);
        QCOMPARE(Bookmarks[2].Name, AnsiString("dos"));
        QCOMPARE(Bookmarks[2].Topic, -3);
        QVERIFY(!ReadBookmarkFile(ansi::fromQt(dir.filePath("none.oer"))));
        QCOMPARE(BookmarkCount, 2);

        // A read-only file, whoever runs the program, is read whole and then
        // refused for writing.
        QFile::setPermissions(dir.filePath("t.oer"), QFile::ReadOwner);
        try {
            ReadBookmarkFile(ansi::fromQt(dir.filePath("t.oer")));
            QFAIL("no error raised");
        } catch (const EAppError &error) {
            QCOMPARE(error.message(), QStringLiteral("File access denied"));
        }
        QCOMPARE(BookmarkCount, 4);
        QCOMPARE(Bookmarks[4].Name, AnsiString("dos"));
    }

    void bookmarkRecordLayout() {
        ScratchDir dir;
        BookmarkCount = 2;
        Bookmarks[1] = {"P\xE1gina", 0x01020304};
        Bookmarks[2] = {"ab", -2};
        WriteBookmarkFile(ansi::fromQt(dir.filePath("t.oer")));
        const QByteArray bytes = dir.read("t.oer");
        QCOMPARE(bytes.size(), 2 * kBookmarkRecordSize);
        QCOMPARE(bytes.at(0), char(6));
        QCOMPARE(bytes.mid(1, 6), QByteArray("P\xE1gina"));
        QCOMPARE(int32At(bytes, 44), 0x01020304);
        // The shared buffer keeps the longer name's tail past the new length.
        QCOMPARE(bytes.at(48), char(2));
        QCOMPARE(bytes.mid(49, 6), QByteArray("abgina"));
        QCOMPARE(int32At(bytes, 48 + 44), -2);
    }

    void fortyCharacterNamesAndFullNotesRoundTrip() {
        ScratchDir dir;
        const AnsiString name(40, 'n');
        const AnsiString title(255, '\xE9');
        const AnsiString note(255, 'z');
        BookmarkCount = 1;
        Bookmarks[1] = {name, 12};
        AnnotationCount = 1;
        Annotations[1] = {99, title, note};
        WriteBookmarkFile(ansi::fromQt(dir.filePath("t.oer")));
        WriteAnnotationFile(ansi::fromQt(dir.filePath("t.cdb")));

        const QByteArray cdb = dir.read("t.cdb");
        QCOMPARE(cdb.size(), kAnnotationRecordSize);
        QCOMPARE(int32At(cdb, 0), 99);
        QCOMPARE(uint8_t(cdb.at(4)), uint8_t(255));
        QCOMPARE(uint8_t(cdb.at(260)), uint8_t(255));
        QCOMPARE(cdb.at(261), 'z');

        ResetNavigationState();
        QVERIFY(ReadBookmarkFile(ansi::fromQt(dir.filePath("t.oer"))));
        QVERIFY(ReadAnnotationFile(ansi::fromQt(dir.filePath("t.cdb"))));
        QCOMPARE(Bookmarks[1].Name, name);
        QCOMPARE(Bookmarks[1].Topic, 12);
        QCOMPARE(Annotations[1].Topic, 99);
        QCOMPARE(Annotations[1].Title, title);
        QCOMPARE(Annotations[1].Note, note);
    }

    void readRecordsKeepTheirBytesInTheBufferForTheNextWrite() {
        ScratchDir dir;
        dir.write("t.oer", bookmarkRecord("largo-nombre", 1, 'P'));
        QVERIFY(ReadBookmarkFile(ansi::fromQt(dir.filePath("t.oer"))));
        Bookmarks[1].Name = "x";
        WriteBookmarkFile(ansi::fromQt(dir.filePath("u.oer")));
        const QByteArray bytes = dir.read("u.oer");
        QCOMPARE(bytes.mid(0, 13), QByteArray("\x01xargo-nombre"));
        QCOMPARE(bytes.mid(41, 3), QByteArray("PPP"));
    }

    void emptyTablesWriteEmptyFiles() {
        ScratchDir dir;
        WriteBookmarkFile(ansi::fromQt(dir.filePath("t.oer")));
        WriteAnnotationFile(ansi::fromQt(dir.filePath("t.cdb")));
        QVERIFY(QFile::exists(dir.filePath("t.oer")));
        QCOMPARE(QFileInfo(dir.filePath("t.oer")).size(), 0);
        QCOMPARE(QFileInfo(dir.filePath("t.cdb")).size(), 0);
    }

    void largerFilesThanTheTablesLoseNothing() {
        ScratchDir dir;
        QByteArray oer;
        for (int i = 1; i <= 130; ++i)
            oer += bookmarkRecord(QByteArray::number(i), i);
        QByteArray cdb;
        for (int i = 1; i <= 70; ++i)
            cdb += annotationRecord(i, "t", QByteArray::number(i));
        dir.write("t.oer", oer);
        dir.write("t.cdb", cdb);
        QVERIFY(ReadBookmarkFile(ansi::fromQt(dir.filePath("t.oer"))));
        QVERIFY(ReadAnnotationFile(ansi::fromQt(dir.filePath("t.cdb"))));
        QCOMPARE(BookmarkCount, 130);
        QCOMPARE(AnnotationCount, 70);
        QCOMPARE(Bookmarks[130].Topic, 130);
        QCOMPARE(Annotations[70].Note, AnsiString("70"));
        WriteBookmarkFile(ansi::fromQt(dir.filePath("u.oer")));
        WriteAnnotationFile(ansi::fromQt(dir.filePath("u.cdb")));
        QCOMPARE(dir.read("u.oer").size(), oer.size());
        QCOMPARE(dir.read("u.cdb").size(), cdb.size());
        ResetNavigationState();
        QVERIFY(ReadBookmarkFile(ansi::fromQt(dir.filePath("u.oer"))));
        QVERIFY(ReadAnnotationFile(ansi::fromQt(dir.filePath("u.cdb"))));
        QCOMPARE(BookmarkCount, 130);
        QCOMPARE(Bookmarks[77].Name, AnsiString("77"));
        QCOMPARE(Annotations[70].Note, AnsiString("70"));
    }

    void lengthBytesBeyondTheFieldAreClamped() {
        ScratchDir dir;
        QByteArray record = bookmarkRecord("abc", 5);
        record[0] = char(200);
        dir.write("t.oer", record);
        QVERIFY(ReadBookmarkFile(ansi::fromQt(dir.filePath("t.oer"))));
        QCOMPARE(Bookmarks[1].Name.size(), size_t(40));
    }

    void historyKeepsTheFiftyNewestChangesInOrder() {
        ScratchDir dir;
        title::TitleSource source;
        for (int i = 1; i <= 51; ++i)
            source.topics.append({QStringLiteral("T%1").arg(i),
                                  QStringLiteral("Tema %1").arg(i),
                                  QStringLiteral("<p>%1</p>").arg(i),
                                  {},
                                  true});
        QVERIFY(title::writeTitle(source, dir.filePath("t.dvk")));
        TMedview control;
        control.setMediaViewTitle(dir.filePath("t.dvk"));
        for (int i = 1; i <= 51; ++i) {
            control.setTopicIndex(i);
            RecordHistoryTopic(control);
        }
        QCOMPARE(HistoryCount, 50);
        QCOMPARE(HistoryPos, 50);
        for (int k = 1; k <= 50; ++k) {
            QCOMPARE(History[k].Topic, "Tema " + std::to_string(k + 1));
            QCOMPARE(History[k].VA, k + 1);
        }
    }

    void historyBackStepsAndSkipsOneChange() {
        TMedview control;
        for (int i = 0; i < 5; ++i)
            RecordHistoryTopic(control);
        HistoryBack(control);
        QVERIFY(HistorySkip);
        RecordHistoryTopic(control); // the change going back causes
        QVERIFY(!HistorySkip);
        HistoryBack(control);
        RecordHistoryTopic(control);
        QCOMPARE(HistoryPos, 3);
        QCOMPARE(HistoryCount, 5);
        RecordHistoryTopic(control);
        QCOMPARE(HistoryCount, 6);
        QCOMPARE(HistoryPos, 6);
    }

    void historyBackAtTheStartDoesNothing() {
        TMedview control;
        HistoryBack(control);
        QVERIFY(!HistorySkip);
        RecordHistoryTopic(control);
        HistoryBack(control);
        QVERIFY(!HistorySkip);
        QCOMPARE(HistoryPos, 1);
    }

    void groupEntries() {
        clearGroups();
        LoadTitleGroupsFrom(
            entries({"CAP1.GRP=\"Cap\xEDtulo 1\";", "_INFO=\"otra\";", "CAP2.GRP=\"X\";",
                     "SINMARCA=\"valor\";", "CAP3.GRP=\"Tres\";"}));
        QCOMPARE(Groups[1].Name, AnsiString("CAP1"));
        QCOMPARE(Groups[1].Value, AnsiString("Cap\xEDtulo 1"));
        // Without ".GRP": an empty name, the value from the sixth character.
        QCOMPARE(Groups[2].Name, AnsiString());
        QCOMPARE(Groups[2].Value, AnsiString("RCA=\"valor"));
        QCOMPARE(Groups[3].Name, AnsiString("CAP3"));
        QCOMPARE(Groups[3].Value, AnsiString("Tres"));
        QCOMPARE(Groups[4].Name, AnsiString());
    }

    void noEntriesLeaveTheGroupsAlone() {
        clearGroups();
        Groups[1] = {"OLD", "old"};
        LoadTitleGroupsFrom(entries({}));
        QCOMPARE(Groups[1].Name, AnsiString("OLD"));
        TMedview control; // no title: the runtime answers -1 at once
        LoadTitleGroups(control);
        QCOMPARE(Groups[1].Name, AnsiString("OLD"));
    }

    void moreThanNineteenGroupsKeepTheTerminator() {
        clearGroups();
        QList<QByteArray> list;
        for (int i = 1; i <= 25; ++i)
            list << "G" + QByteArray::number(i) + ".GRP=\"Grupo\";";
        LoadTitleGroupsFrom(entries(list));
        QCOMPARE(Groups[19].Name, AnsiString("G19"));
        QCOMPARE(Groups[20].Name, AnsiString());
    }

    void fixedTablesNeverReachPastTheirEnds() {
        PrintList[10000] = 7;
        PrintList[10001] = 8;
        PrintList[0] = 9;
        QCOMPARE(PrintList[10000], 7);
        QCOMPARE(PrintList[10001], 0);
        QCOMPARE(PrintList[0], 0);
        Groups[21].Name = "X";
        QCOMPARE(Groups[21].Name, AnsiString());
        Bookmarks[-1].Name = "x";
        QCOMPARE(Bookmarks[-1].Name, AnsiString());
    }

    void titleInformationWithoutATitle() {
        TMedview control;
        QCOMPARE(TitleInfoString(control, 3), AnsiString());
    }
};

QTEST_MAIN(TestMvUtil)
#include "test_mvutil.moc"
