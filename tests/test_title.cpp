// The title file: opening and handles, lookups, the browse sequence, info
// entries and the runtime's lMVTitleGetInfo, and damaged or foreign files.

#include "titlebuilder.h"
#include "titlefile.h"
#include "titleinfo.h"
#include "titleschema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <sqlite3.h>

using title::TitleFile;

namespace {

title::SourceTopic topic(const QString &context, const QString &title, const QString &html,
                         const QStringList &groups = {}, bool browse = true) {
    title::SourceTopic t;
    t.context = context;
    t.title = title;
    t.html = html;
    t.groups = groups;
    t.browse = browse;
    return t;
}

// Topics 1..5; 2 and 5 are outside the browse sequence; two topics share the
// title "Repetido".
title::TitleSource sampleSource() {
    title::TitleSource source;
    source.info = {QStringLiteral("CAP1.GRP=\"Capítulo 1\";"), QStringLiteral("_AUTOR=\"Ana\";"),
                   QStringLiteral("CAP2.GRP=\"Capítulo 2\";")};
    source.topics = {
        topic("PORTADA", "Portada", "<header><h1>Portada</h1></header><p>Bienvenida</p>", {"CAP1"}),
        topic("NOTA", "Nota al margen", "<p>Una nota</p>", {"CAP1"}, false),
        topic("REP_A", "Repetido", "<p>Primero</p>", {"CAP2"}),
        topic("REP_B", "Repetido", "<p>Segundo</p>", {"CAP2", "CAP1"}),
        topic("FIN", "Índice", "<p>Fin</p>", {}, false),
    };
    source.pictures.insert(QStringLiteral("logo.png"), QByteArray("\x89PNG-bytes", 10));
    return source;
}

QString build(const QTemporaryDir &dir, const title::TitleSource &source,
              const QString &name = QStringLiteral("titulo.dvk")) {
    const QString path = dir.filePath(name);
    QString error;
    if (!title::writeTitle(source, path, &error))
        qFatal("writeTitle: %s", qPrintable(error));
    return path;
}

// Runs SQL on a title file (to make foreign or damaged variants of it).
void alter(const QString &path, const char *sql) {
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char *message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    const QString text = QString::fromUtf8(message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(text));
}

qint64 rootPage(const QString &path, const char *table) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?1", -1, &statement,
                       nullptr);
    sqlite3_bind_text(statement, 1, table, -1, SQLITE_STATIC);
    const qint64 page =
        sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return page;
}

void overwrite(const QString &path, qint64 offset, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray cString(const char *buffer) {
    return QByteArray(buffer);
}

} // namespace

class TestTitle : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        path = build(dir, sampleSource());
    }

    void opensWithUniqueHandlesUntilDestroyed() {
        auto first = TitleFile::open(path);
        auto second = TitleFile::open(path);
        QVERIFY(first && second);
        QVERIFY(first->handle() != 0);
        QVERIFY(second->handle() != 0);
        QVERIFY(first->handle() != second->handle());
        QCOMPARE(first->path(), path);
        QCOMPARE(title::titleByHandle(first->handle()), first.get());
        QCOMPARE(title::titleByHandle(second->handle()), second.get());
        QCOMPARE(title::titleByHandle(0), nullptr);

        const intptr_t gone = first->handle();
        first.reset();
        QCOMPARE(title::titleByHandle(gone), nullptr);
        QCOMPARE(title::titleByHandle(second->handle()), second.get());
        // A later title never gets the handle of a closed one.
        auto third = TitleFile::open(path);
        QVERIFY(third->handle() != gone);
    }

    void readsTopicsAndLookups() {
        auto file = TitleFile::open(path);
        QVERIFY(file);
        QCOMPARE(file->topicCount(), 5);

        const auto portada = file->topic(1);
        QVERIFY(portada);
        QCOMPARE(portada->index, 1);
        QCOMPARE(portada->context, QStringLiteral("PORTADA"));
        QCOMPARE(portada->title, QStringLiteral("Portada"));
        QCOMPARE(portada->browse, 1);
        QCOMPARE(portada->headerHtml, QStringLiteral("<h1>Portada</h1>"));
        QCOMPARE(portada->bodyHtml, QStringLiteral("<p>Bienvenida</p>"));
        QCOMPARE(file->topic(2)->browse, 0);
        QCOMPARE(file->topic(2)->headerHtml, QString());
        QCOMPARE(file->topic(4)->browse, 3);
        QVERIFY(!file->topic(0));
        QVERIFY(!file->topic(6));
        QVERIFY(!file->topic(-1));

        QCOMPARE(file->topicByContext("NOTA"), std::optional<int>(2));
        QCOMPARE(file->topicByContext("nota"), std::optional<int>(2)); // contexts ignore case
        QVERIFY(!file->topicByContext("NADA"));
        QVERIFY(!file->topicByContext(QString()));

        QCOMPARE(file->topicByTitle("Repetido"), std::optional<int>(3)); // the first one
        QCOMPARE(file->topicByTitle("Índice"), std::optional<int>(5));
        QVERIFY(!file->topicByTitle("repetido")); // titles are exact
        QVERIFY(!file->topicByTitle("Portad"));

        QCOMPARE(file->topicTitle(2), QStringLiteral("Nota al margen"));
        QCOMPARE(file->topicTitle(9), QString());
    }

    void followsTheBrowseSequence() {
        auto file = TitleFile::open(path);
        QCOMPARE(file->firstBrowseTopic(), std::optional<int>(1));
        QCOMPARE(file->nextBrowseTopic(1), std::optional<int>(3));
        QCOMPARE(file->nextBrowseTopic(3), std::optional<int>(4));
        QVERIFY(!file->nextBrowseTopic(4));
        QCOMPARE(file->previousBrowseTopic(4), std::optional<int>(3));
        QCOMPARE(file->previousBrowseTopic(3), std::optional<int>(1));
        QVERIFY(!file->previousBrowseTopic(1));
        // Topics outside the sequence have no neighbours in it.
        QVERIFY(!file->nextBrowseTopic(2));
        QVERIFY(!file->previousBrowseTopic(5));
        QVERIFY(!file->nextBrowseTopic(42));
    }

    void readsInfoGroupsAndPictures() {
        auto file = TitleFile::open(path);
        QCOMPARE(file->infoEntries(), sampleSource().info);
        QCOMPARE(file->groupTopics("CAP1"), QVector<int>({1, 2, 4}));
        QCOMPARE(file->groupTopics("cap2"), QVector<int>({3, 4}));
        QVERIFY(file->groupTopics("CAP9").isEmpty());
        QCOMPARE(file->picture("logo.png"), QByteArray("\x89PNG-bytes", 10));
        QCOMPARE(file->picture("LOGO.PNG"), QByteArray("\x89PNG-bytes", 10));
        QVERIFY(file->picture("otro.png").isEmpty());
    }

    void firstBrowseTopicFallsBackToNone() {
        title::TitleSource source = sampleSource();
        for (auto &t : source.topics)
            t.browse = false;
        auto file = TitleFile::open(build(dir, source, "sinlectura.dvk"));
        QVERIFY(file);
        QVERIFY(!file->firstBrowseTopic());
        QVERIFY(!file->nextBrowseTopic(1));
    }

    void enumeratesInfoEntries() {
        auto file = TitleFile::open(path);
        const intptr_t h = file->handle();
        char buffer[256];
        int32_t k = 0;
        QList<QByteArray> entries;
        for (; k < 10; ++k) {
            std::memset(buffer, 'X', sizeof buffer);
            const int32_t result = lMVTitleGetInfo(h, 13, k * 65536 + 255, buffer, sizeof buffer);
            if (result == -1)
                break;
            QVERIFY(result > 0);
            entries.append(cString(buffer));
        }
        QCOMPARE(k, 3);
        // 8-bit Windows-1252 text: í is the byte 0xED.
        QCOMPARE(entries[0], QByteArray("CAP1.GRP=\"Cap\xEDtulo 1\";"));
        QCOMPARE(entries[1], QByteArray("_AUTOR=\"Ana\";"));
        QCOMPARE(lMVTitleGetInfo(h, 13, 3 * 65536 + 255, buffer, sizeof buffer), -1);
        QCOMPARE(buffer[0], '\0');
        QCOMPARE(lMVTitleGetInfo(h, 13, 0x7FFF * 65536 + 255, buffer, sizeof buffer), -1);
        QCOMPARE(lMVTitleGetInfo(h, 13, int32_t(0xFFFF00FFu), buffer, sizeof buffer), -1);
    }

    void keepsInfoTextWithinTheRoom() {
        auto file = TitleFile::open(path);
        const intptr_t h = file->handle();
        const QByteArray text("_AUTOR=\"Ana\";"); // entry 1, 13 bytes
        char buffer[64];

        auto fetch = [&](int32_t room, size_t size) {
            std::memset(buffer, 'X', sizeof buffer);
            return lMVTitleGetInfo(h, 13, 1 * 65536 + room, buffer, size);
        };
        // Exactly fitting: the text and its NUL.
        QVERIFY(fetch(14, sizeof buffer) > 0);
        QCOMPARE(cString(buffer), text);
        QCOMPARE(buffer[14], 'X');
        // One byte short: the text is cut, the NUL always written.
        QVERIFY(fetch(13, sizeof buffer) > 0);
        QCOMPARE(cString(buffer), text.left(12));
        QCOMPARE(buffer[13], 'X');
        QVERIFY(fetch(5, sizeof buffer) > 0);
        QCOMPARE(cString(buffer), text.left(4));
        QCOMPARE(buffer[5], 'X');
        // The buffer's size limits as well as the room.
        QVERIFY(fetch(255, 4) > 0);
        QCOMPARE(cString(buffer), text.left(3));
        QCOMPARE(buffer[4], 'X');
        // No room at all: nothing written, the entry still counts.
        QVERIFY(fetch(0, sizeof buffer) > 0);
        QCOMPARE(buffer[0], 'X');
        QVERIFY(fetch(1, sizeof buffer) > 0);
        QCOMPARE(buffer[0], '\0');
        QCOMPARE(buffer[1], 'X');
        // A null buffer is never written.
        QVERIFY(lMVTitleGetInfo(h, 13, 1 * 65536 + 255, nullptr, 256) > 0);
        QCOMPARE(lMVTitleGetInfo(h, 13, 9 * 65536 + 255, nullptr, 256), -1);
    }

    void countsTopicsAndGivesTopicTitles() {
        auto file = TitleFile::open(path);
        const intptr_t h = file->handle();
        QCOMPARE(lMVTitleGetInfo(h, 13, 0, nullptr, 0), 5);

        char buffer[256];
        std::memset(buffer, 'X', sizeof buffer);
        QVERIFY(lMVTitleGetInfo(h, 102, 5, buffer, sizeof buffer) != 0);
        QCOMPARE(cString(buffer), QByteArray("\xCDndice")); // Í in Windows-1252
        std::memset(buffer, 'X', sizeof buffer);
        QVERIFY(lMVTitleGetInfo(h, 102, 2, buffer, 5) != 0);
        QCOMPARE(cString(buffer), QByteArray("Nota"));
        QCOMPARE(buffer[5], 'X');

        std::memset(buffer, 'X', sizeof buffer);
        QCOMPARE(lMVTitleGetInfo(h, 102, 6, buffer, sizeof buffer), 0);
        QCOMPARE(buffer[0], '\0');
        QCOMPARE(lMVTitleGetInfo(h, 102, 0, buffer, sizeof buffer), 0);
        QCOMPARE(lMVTitleGetInfo(h, 102, 1, nullptr, 256), int32_t(std::strlen("Portada")));
        QCOMPARE(lMVTitleGetInfo(h, 55, 1, buffer, sizeof buffer), 0);
    }

    void unknownHandlesGiveNothing() {
        intptr_t closed = 0;
        {
            auto file = TitleFile::open(path);
            closed = file->handle();
        }
        char buffer[16];
        for (const intptr_t h : {intptr_t(0), closed, intptr_t(-7)}) {
            std::memset(buffer, 'X', sizeof buffer);
            QCOMPARE(lMVTitleGetInfo(h, 13, 255, buffer, sizeof buffer), -1);
            QCOMPARE(buffer[0], '\0');
            QCOMPARE(lMVTitleGetInfo(h, 13, 0, nullptr, 0), 0);
            QCOMPARE(lMVTitleGetInfo(h, 102, 1, buffer, sizeof buffer), 0);
            QCOMPARE(lMVTitleGetInfo(h, 102, 1, nullptr, 0), 0);
        }
    }

    // A title on read-only media opens whatever lies beside it, and nothing is
    // written there. A hot journal would need a rollback, which a read-only
    // connection refuses even when run as root; a title left in WAL mode
    // would make SQLite create its -wal and -shm files next to it.
    void opensFromReadOnlyMedia_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("stray hot journal") << "journal";
        QTest::newRow("written in WAL mode") << "wal";
        QTest::newRow("name needing escapes") << "escapes";
    }

    void opensFromReadOnlyMedia() {
        QFETCH(QString, kind);
        QTemporaryDir scratch;
        const QString media = scratch.filePath(kind == "escapes" ? "cd ?#%20 ñ" : "cd");
        QVERIFY(QDir().mkpath(media));
        const QString file = media + "/titulo.dvk";
        QVERIFY(QFile::copy(path, file));
        if (kind == "journal") {
            QFile journal(file + "-journal");
            QVERIFY(journal.open(QIODevice::WriteOnly));
            journal.write(QByteArray("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8) +
                          QByteArray(504, '\1'));
        } else if (kind == "wal") {
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
            alter(file, "PRAGMA journal_mode = WAL");
        }
        const QStringList before = QDir(media).entryList(QDir::Files);
        QVERIFY(QFile::setPermissions(media, QFile::ReadOwner | QFile::ExeOwner));

        auto opened = TitleFile::open(file);
        const bool read =
            opened && opened->topic(1) && opened->search("bienvenida") == QVector<int>{1};
        const QStringList during = QDir(media).entryList(QDir::Files);
        opened.reset();
        QFile::setPermissions(media, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(read);
        QCOMPARE(during, before);
    }

    void refusesForeignAndDamagedFiles_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("folder") << "folder";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("text file") << "text";
        QTest::newRow("plain SQLite") << "plain";
        QTest::newRow("other application") << "application";
        QTest::newRow("other version") << "version";
        QTest::newRow("no search index") << "noindex";
        QTest::newRow("no topic pages") << "nopages";
        QTest::newRow("truncated") << "truncated";
        QTest::newRow("garbage header") << "header";
        QTest::newRow("corrupt topics page") << "topics";
        QTest::newRow("corrupt pages table") << "pages";
        QTest::newRow("corrupt schema page") << "schema";
    }

    void refusesForeignAndDamagedFiles() {
        QFETCH(QString, kind);
        QTemporaryDir scratch;
        QString file = scratch.filePath("malo.dvk");
        if (kind == "missing") {
            // nothing there
        } else if (kind == "folder") {
            file = scratch.path();
        } else if (kind == "empty") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == "text") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Esto no es un t\xc3\xadtulo, solo texto.\n");
        } else if (kind == "plain") {
            alter(file, "CREATE TABLE t(x)");
        } else {
            QVERIFY(QFile::copy(path, file));
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
            if (kind == "application")
                alter(file, "PRAGMA application_id = 1234");
            else if (kind == "version")
                alter(file, "PRAGMA user_version = 2");
            else if (kind == "noindex")
                alter(file, "DROP TABLE topic_search");
            else if (kind == "nopages")
                alter(file, "DROP TABLE topic_pages");
            else if (kind == "truncated")
                QVERIFY(QFile::resize(file, QFileInfo(file).size() / 2));
            else if (kind == "header")
                overwrite(file, 0, QByteArray(100, '\x5A'));
            else if (kind == "topics")
                overwrite(file, (rootPage(file, "topics") - 1) * 4096, QByteArray(4096, '\xA5'));
            else if (kind == "pages")
                overwrite(file, (rootPage(file, "topic_pages") - 1) * 4096 + 8,
                          QByteArray(4088, '\x33'));
            else if (kind == "schema")
                overwrite(file, 100, QByteArray(3996, '\x7F'));
        }
        auto opened = TitleFile::open(file);
        QVERIFY(!opened);
    }

private:
    QTemporaryDir dir;
    QString path;
};

QTEST_GUILESS_MAIN(TestTitle)
#include "test_title.moc"
