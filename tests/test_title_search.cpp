// Full-text search with the syntax the search dialog teaches: words (all must
// occur), "quoted phrases", prefixes Ju*, single-letter wildcards De?????,
// case and accents ignored, scopes, and malformed queries that find nothing.

#include "titlebuilder.h"
#include "titlefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sqlite3.h>

using title::TitleFile;

namespace {

title::SourceTopic topic(const QString &context, const QString &title, const QString &html) {
    title::SourceTopic t;
    t.context = context;
    t.title = title;
    t.html = html;
    return t;
}

// Words of seven letters beginning with "de" (De?????): decimos (4),
// delante (4), después (4), debería (4), deciden (3), derecho (6, header).
title::TitleSource searchSource() {
    title::TitleSource source;
    source.topics = {
        topic("LEY", "Ley del reino", "<p>La ley del reino de Israel.</p>"),
        topic("HERMANOS", "Los hermanos",
              "<p>Los hermanos de José fueron en el <b>cami</b>ón.</p>"),
        topic("JUECES", "Jueces", "<p>El juez y los jueces deciden. Juan llegó tarde.</p>"),
        topic("DECIMOS", "Decimos", "<p>Decimos delante de todos, después. Debería ser así.</p>"),
        topic("CAMION", "El camión", "<p>Un CAMIÓN rojo; el camion azul.</p><p>reino</p>"),
        topic("CABECERA", "Cabecera",
              "<header><h2>Derecho de Israel</h2></header><p>Texto sin más.</p>"),
        topic("ENTIDADES", "Entidades",
              "<p>&Aacute;rbol &amp; &#241;and&#xFA;; <!-- oculto --> visible</p>"
              "<p>uno</p><p>dos</p><script>escondido()</script>"),
        topic("GRIEGO", "Griego",
              "<p>alfa beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi "
              "omicron pi rho</p>"),
    };
    return source;
}

// Topics numbered from 1 with made-up words and their numbers: many words
// that share prefixes, for the wildcards. The plain text of topic n.
QString wordsText(int n) {
    static const char *const syllables[] = {"ca", "me", "ri", "to", "la", "ju", "es", "de"};
    QStringList words{QString::number(n), QString::number(n * 7)};
    for (int i = 0; i < 3; ++i) {
        QString word;
        for (int k = (n + i) % 3; k >= 0; --k)
            word += syllables[(n * 5 + i * 3 + k) % 8];
        words.append(word);
    }
    return words.join(' ');
}

title::TitleSource wordsSource(int topics) {
    title::TitleSource source;
    for (int n = 1; n <= topics; ++n)
        source.topics.append(
            topic(QString("T%1").arg(n), QString("Tema %1").arg(n), "<p>" + wordsText(n) + "</p>"));
    return source;
}

// False, with SQLite's message as a warning, when the SQL fails.
bool runSql(sqlite3 *db, const QString &sql) {
    char *message = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
        qWarning("%s", message ? message : "");
    sqlite3_free(message);
    return rc == SQLITE_OK;
}

// The same title with its index written again in several segments, as a
// title built without the final optimize is.
bool splitIndex(const QString &path, int topics) {
    sqlite3 *db = nullptr;
    bool done = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
                runSql(db, "DROP TABLE topic_search") &&
                runSql(db, "CREATE VIRTUAL TABLE topic_search USING fts5(title, header, body, "
                           "content = '', tokenize = 'unicode61 remove_diacritics 2')") &&
                runSql(db, "INSERT INTO topic_search(topic_search, rank) VALUES('automerge', 0)");
    for (int n = 1; done && n <= topics; ++n)
        done = runSql(db, QString("INSERT INTO topic_search(rowid, title, header, body) "
                                  "VALUES(%1, 'Tema %1', '', '%2')")
                              .arg(n)
                              .arg(wordsText(n)));
    sqlite3_stmt *segments = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(DISTINCT segid) FROM topic_search_idx", -1, &segments,
                       nullptr);
    done = done && sqlite3_step(segments) == SQLITE_ROW && sqlite3_column_int(segments, 0) > 1;
    sqlite3_finalize(segments);
    sqlite3_close(db);
    return done;
}

// SQLite's variable-length integer, as the index's records hold it.
QByteArray varint(quint64 value) {
    QByteArray bytes(1, char(value & 0x7F));
    while (value >>= 7)
        bytes.prepend(char(0x80 | (value & 0x7F)));
    return bytes;
}

// The first block of the index's data from the structure record (id 10) on
// that holds `part`: its id and its bytes; id 0 when there is none.
std::pair<qint64, QByteArray> findBlock(sqlite3 *db, const QByteArray &part) {
    sqlite3_stmt *read = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT id, block FROM topic_search_data WHERE id >= 10 AND "
                       "instr(block, ?1) > 0 ORDER BY id LIMIT 1",
                       -1, &read, nullptr);
    sqlite3_bind_blob(read, 1, part.constData(), int(part.size()), SQLITE_TRANSIENT);
    std::pair<qint64, QByteArray> found{0, QByteArray()};
    if (sqlite3_step(read) == SQLITE_ROW)
        found = {sqlite3_column_int64(read, 0),
                 QByteArray(static_cast<const char *>(sqlite3_column_blob(read, 1)),
                            sqlite3_column_bytes(read, 1))};
    sqlite3_finalize(read);
    return found;
}

bool writeBlock(sqlite3 *db, qint64 id, const QByteArray &block) {
    sqlite3_stmt *write = nullptr;
    sqlite3_prepare_v2(db, "UPDATE topic_search_data SET block = ?1 WHERE id = ?2", -1, &write,
                       nullptr);
    sqlite3_bind_blob(write, 1, block.constData(), int(block.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(write, 2, id);
    const bool written = sqlite3_step(write) == SQLITE_DONE && id != 0;
    sqlite3_finalize(write);
    return written;
}

// What a query found before the vocabulary was kept: each wildcard word
// expanded through fts5vocab into an OR of the words it matches, a prefix
// left to FTS5, all in one MATCH. Of FTS5's hits, the topics (an index may
// list row ids that are none) that have an int number, as the reader names
// topics. Queries here are lower-case ASCII.
QVector<int> expandedSearch(const QString &path, const QString &query) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, "CREATE VIRTUAL TABLE temp.v USING fts5vocab(main, topic_search, row)",
                 nullptr, nullptr, nullptr);
    QStringList parts;
    for (const QString &word : query.split(' ')) {
        const QString stem = word.chopped(1);
        if (!word.contains('?') && word.indexOf('*') == word.size() - 1 && !stem.contains('*')) {
            parts.append('"' + stem + "\" *");
        } else if (word.contains('?') || word.contains('*')) {
            QStringList alternatives;
            sqlite3_stmt *terms = nullptr;
            sqlite3_prepare_v2(db, "SELECT term FROM temp.v WHERE term GLOB ?1", -1, &terms,
                               nullptr);
            sqlite3_bind_text(terms, 1, word.toUtf8().constData(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(terms) == SQLITE_ROW)
                alternatives.append('"' + QString::fromUtf8(sqlite3_column_text(terms, 0)) + '"');
            sqlite3_finalize(terms);
            if (alternatives.isEmpty()) {
                sqlite3_close(db);
                return {};
            }
            parts.append('(' + alternatives.join(" OR ") + ')');
        } else {
            parts.append('"' + word + '"');
        }
    }
    QVector<int> hits;
    sqlite3_stmt *match = nullptr;
    // "+rowid": the topics filter the hits; without it SQLite runs the MATCH
    // once for each topic.
    sqlite3_prepare_v2(db,
                       "SELECT rowid FROM topic_search WHERE topic_search MATCH ?1 "
                       "AND +rowid IN (SELECT number FROM topics) ORDER BY rowid",
                       -1, &match, nullptr);
    sqlite3_bind_text(match, 1, parts.join(" AND ").toUtf8().constData(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(match) == SQLITE_ROW) {
        const qint64 topic = sqlite3_column_int64(match, 0);
        if (topic == int(topic))
            hits.append(int(topic));
    }
    sqlite3_finalize(match);
    sqlite3_close(db);
    return hits;
}

} // namespace

class TestTitleSearch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("busqueda.dvk");
        QString error;
        QVERIFY2(title::writeTitle(searchSource(), path, &error), qPrintable(error));
        file = TitleFile::open(path);
        QVERIFY(file);
        optimized = dir.filePath("palabras.dvk");
        QVERIFY2(title::writeTitle(wordsSource(kWordTopics), optimized, &error), qPrintable(error));
        segmented = dir.filePath("segmentos.dvk");
        QVERIFY(QFile::copy(optimized, segmented));
        QFile::setPermissions(segmented, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(splitIndex(segmented, kWordTopics));
    }

    void findsWithTheTaughtSyntax_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QVector<int>>("hits");
        QTest::newRow("word") << "reino" << QVector<int>{1, 5};
        QTest::newRow("word in a title") << "cabecera" << QVector<int>{6};
        QTest::newRow("word in a header") << "derecho" << QVector<int>{6};
        QTest::newRow("upper case") << "REINO" << QVector<int>{1, 5};
        QTest::newRow("accent in the text") << "camion" << QVector<int>{2, 5};
        QTest::newRow("accent in the query") << "Camión" << QVector<int>{2, 5};
        QTest::newRow("accent and case") << "JOSÉ" << QVector<int>{2};
        QTest::newRow("all words") << "Ley reino Israel" << QVector<int>{1};
        QTest::newRow("words in different topics") << "ley jueces" << QVector<int>{};
        QTest::newRow("blanks around") << "  reino   israel " << QVector<int>{1};
        QTest::newRow("trailing punctuation") << "reino," << QVector<int>{1, 5};
        QTest::newRow("phrase") << "\"Los hermanos de\"" << QVector<int>{2};
        QTest::newRow("phrase with accents") << "\"hermanos de jose\"" << QVector<int>{2};
        QTest::newRow("phrase out of order") << "\"hermanos los\"" << QVector<int>{};
        QTest::newRow("phrase and word") << "\"del reino\" israel" << QVector<int>{1};
        QTest::newRow("prefix") << "Ju*" << QVector<int>{3};
        QTest::newRow("prefix of accented words") << "despu*" << QVector<int>{4};
        QTest::newRow("prefix with accent") << "cami*" << QVector<int>{2, 5};
        QTest::newRow("seven-letter de words") << "De?????" << QVector<int>{3, 4, 6};
        QTest::newRow("three-letter de words") << "de?" << QVector<int>{1};
        QTest::newRow("wildcard inside") << "ju?z" << QVector<int>{3};
        QTest::newRow("wildcard and word") << "De????? israel" << QVector<int>{6};
        QTest::newRow("wildcard without match") << "xq???" << QVector<int>{};
        QTest::newRow("unknown word") << "elefante" << QVector<int>{};
        QTest::newRow("inline tags join") << "camión" << QVector<int>{2, 5};
        QTest::newRow("named entity") << "arbol" << QVector<int>{7};
        QTest::newRow("numeric entities") << "ñandú" << QVector<int>{7};
        QTest::newRow("block tags separate") << "\"uno dos\"" << QVector<int>{7};
        QTest::newRow("no words run together") << "unodos" << QVector<int>{};
        QTest::newRow("comments not indexed") << "oculto" << QVector<int>{};
        QTest::newRow("scripts not indexed") << "escondido" << QVector<int>{};
    }

    void findsWithTheTaughtSyntax() {
        QFETCH(QString, query);
        QFETCH(QVector<int>, hits);
        QCOMPARE(file->search(query), hits);
        // The hit list gives the same topics with their titles.
        title::SearchHits withTitles;
        file->searchHits(query, nullptr, withTitles);
        QCOMPARE(withTitles.size(), hits.size());
        for (int i = 0; i < hits.size(); ++i) {
            QCOMPARE(withTitles.topic(i), hits[i]);
            QCOMPARE(withTitles.title(i), file->topicTitle(hits[i]));
        }
    }

    // At most kMaxSearchWords words: each word of a phrase counts, a term
    // given again does not.
    void limitsTheWordsOfAQuery_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QVector<int>>("hits");
        const QString sixteen = "alfa beta gamma delta epsilon zeta eta theta iota kappa lambda "
                                "mu nu xi omicron pi";
        QTest::newRow("16 words") << sixteen << QVector<int>{8};
        QTest::newRow("17 words") << sixteen + " rho" << QVector<int>{};
        QTest::newRow("16-word phrase") << '"' + sixteen + '"' << QVector<int>{8};
        QTest::newRow("17-word phrase") << '"' + sixteen + " rho\"" << QVector<int>{};
        QTest::newRow("15 words, 2 wildcards")
            << sixteen.section(' ', 0, 14) + " al* *ta" << QVector<int>{};
        QTest::newRow("16 words, one again") << sixteen + " Alfa" << QVector<int>{8};
        QTest::newRow("a word 1000 times")
            << QStringList(1000, QStringLiteral("reino")).join(' ') << QVector<int>{1, 5};
        QTest::newRow("a wildcard 100 times")
            << QStringList(100, QStringLiteral("ju*")).join(' ') << QVector<int>{3};
    }

    void limitsTheWordsOfAQuery() {
        QFETCH(QString, query);
        QFETCH(QVector<int>, hits);
        QCOMPARE(file->search(query), hits);
        QCOMPARE(file->matchedTerms(query).isEmpty(), hits.isEmpty());
    }

    // Wildcards resolved in the kept vocabulary and read apart find what the
    // old expansion into one MATCH found, on a title whose lists are read
    // directly and on one whose index has several segments (read by FTS5).
    void wildcardsFindWhatTheExpansionFound_data() {
        QTest::addColumn<QString>("query");
        for (const char *query :
             {"*1*", "1*", "2?", "*0", "?0*", "?a*", "*a", "ju*", "c*", "*ca*", "*es*", "de?????",
              "me?", "*ri* 1*", "camejuri *a*", "*e* *i* *o*", "*x*", "9* ju*"})
            QTest::newRow(query) << QString(query);
    }

    void wildcardsFindWhatTheExpansionFound() {
        QFETCH(QString, query);
        for (const QString &path : {optimized, segmented}) {
            auto title = TitleFile::open(path);
            QVERIFY(title);
            const QVector<int> expected = expandedSearch(path, query);
            QCOMPARE(title->search(query), expected);
            title::SearchHits hits;
            title->searchHits(query, nullptr, hits);
            QCOMPARE(hits.size(), expected.size());
            for (int i = 0; i < hits.size(); ++i)
                QCOMPARE(hits.title(i), QString("Tema %1").arg(expected[i]));
        }
    }

    // A damaged index, or one that lists row ids that are no topic (0, a topic
    // taken out, numbers past 32 bits, as titles written by other SQLite tools
    // may), finds the topics among FTS5's own hits, whether the page reader
    // reads the lists, gives up part-way or leaves them to FTS5.
    void findsTheTopicsFts5Finds_data() {
        QTest::addColumn<bool>("casa"); // four topics holding "casa", else the words title
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("claimedPages");  // past the segment's last leaf page
        QTest::addColumn<QByteArray>("list");   // the first bytes of the list of "casa" ...
        QTest::addColumn<QByteArray>("edited"); // ... and what they become
        QTest::addColumn<int>("firstRowidAt");  // the page header's offset, into the list
        QTest::addColumn<QStringList>("queries");
        const QString emptyPages =
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
            "INSERT INTO topic_search_data SELECT (SELECT max(id) FROM topic_search_data "
            "WHERE id < 2 << 37) + i, x'00000004' FROM n; "
            "INSERT INTO topic_search_data VALUES((1 << 37) + 2000000000, x'00000004'), "
            "((1 << 37) + (1 << 31) - 1, x'00000004')";
        const QString indexed = "INSERT INTO topic_search(rowid, title, header, body) VALUES %1; "
                                "INSERT INTO topic_search(topic_search) VALUES('optimize')";
        const QString zero = indexed.arg("(0, 'casa', '', '')");
        const QString farOut =
            "INSERT INTO topics(number, context, title) VALUES(4294967298, 'LEJOS', 'Casa'); " +
            indexed.arg("(4294967297, 'casa', '', ''), (4294967298, 'casa', '', ''), "
                        "(-1, 'casa', '', '')");
        // A row of a list: its id (whole first, then the difference), the size
        // of its positions (2: one) and the position; 03 flags it deleted;
        // 80 01 00 is the difference 1 with no positions, a delete marker.
        const QByteArray none;
        const auto hex = [](const char *bytes) { return QByteArray::fromHex(bytes); };
        // "torime", the words title's last word, ends its last page.
        const QStringList words{"to*", "*me"};
        QTest::newRow("huge segment id")
            << false << "INSERT INTO topic_search_idx VALUES(1 << 40, x'30', 2)" << 0 << none
            << none << -1 << words;
        QTest::newRow("negative segment id")
            << false << "INSERT INTO topic_search_idx VALUES(-3, x'30', 2)" << 0 << none << none
            << -1 << words;
        QTest::newRow("word page far past the segment")
            << false << "INSERT INTO topic_search_idx VALUES(1, x'307a7a7a', 1 << 62)" << 0 << none
            << none << -1 << words;
        QTest::newRow("empty pages after the segment")
            << false << emptyPages << 0 << none << none << -1 << words;
        QTest::newRow("empty pages the segment claims")
            << false << emptyPages << 200000 << none << none << -1 << words;
        const QStringList prefix{"cas*"};
        QTest::newRow("row id 0 first in a list")
            << true << zero << 0 << none << none << -1 << prefix;
        QTest::newRow("row id of a topic taken out")
            << true
            << "DELETE FROM topic_pages WHERE number = 3; DELETE FROM group_topics WHERE "
               "topic = 3; DELETE FROM topics WHERE number = 3"
            << 0 << none << none << -1 << prefix;
        QTest::newRow("row id 0, then a deleted row")
            << true << zero << 0 << hex("000202010202010202010202")
            << hex("000202010202010202010302") << -1 << prefix;
        QTest::newRow("a delete marker")
            << true << QString() << 0 << hex("010202010202") << hex("010202800100") << -1 << prefix;
        // FTS5 reads the header's first row id only on a page a list runs on to.
        QTest::newRow("header's first row id inside a list")
            << true << QString() << 0 << hex("010202") << hex("010202") << 3 << prefix;
        QTest::newRow("row ids past 32 bits and below 0")
            << true << farOut << 0 << none << none << -1 << QStringList{"casa"};
        QTest::newRow("a topic numbered below 0")
            << true
            << "INSERT INTO topics(number, context, title) VALUES(-1, 'ANTES', 'Casa'); " +
                   indexed.arg("(-1, 'casa', '', '')")
            << 0 << none << none << -1 << prefix;
    }

    void findsTheTopicsFts5Finds() {
        QFETCH(bool, casa);
        QFETCH(QString, sql);
        QFETCH(int, claimedPages);
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, edited);
        QFETCH(int, firstRowidAt);
        QFETCH(QStringList, queries);
        const QString path = dir.filePath("danado.dvk");
        QFile::remove(path);
        title::TitleSource source;
        for (int n = 1; n <= 4; ++n)
            source.topics.append(topic(QString("T%1").arg(n), "Casa", "<p>Tema</p>"));
        QVERIFY(casa ? title::writeTitle(source, path) : QFile::copy(optimized, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        bool written = runSql(db, sql);
        if (claimedPages) {
            // The structure record's last number is the segment's last page.
            auto [id, record] = findBlock(db, QByteArray());
            const int lastPage = uchar(record.back());
            record.chop(1);
            written = written && id == 10 && lastPage < 0x80 &&
                      writeBlock(db, id, record + varint(quint64(lastPage + claimedPages)));
        }
        if (!list.isEmpty()) {
            auto [id, page] = findBlock(db, "casa" + list);
            if (firstRowidAt >= 0) {
                const qsizetype offset = page.indexOf("casa" + list) + 4 + firstRowidAt;
                page[0] = char(offset >> 8);
                page[1] = char(offset & 0xFF);
            }
            page.replace("casa" + list, "casa" + edited);
            written = written && writeBlock(db, id, page);
        }
        sqlite3_close(db);
        QVERIFY(written);
        auto title = TitleFile::open(path);
        QVERIFY(title);
        for (const QString &query : queries)
            QCOMPARE(title->search(query), expandedSearch(path, query));
    }

    void findsNothingForMalformedQueries_data() {
        QTest::addColumn<QString>("query");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("unbalanced quote") << "\"los hermanos";
        QTest::newRow("unbalanced quote after a word") << "reino \"de";
        QTest::newRow("lone star") << "*";
        QTest::newRow("lone question mark") << "?";
        QTest::newRow("star beside a word") << "reino *";
        QTest::newRow("punctuation only") << ".,;:!";
        QTest::newRow("empty phrase") << "\"\"";
        QTest::newRow("star after punctuation") << "reino,*";
    }

    void findsNothingForMalformedQueries() {
        QFETCH(QString, query);
        QVERIFY(file->search(query).isEmpty());
        QVERIFY(file->matchedTerms(query).isEmpty());
    }

    // Query words are never read as FTS5 syntax.
    void readsSyntaxWordsAsWords_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QVector<int>>("hits");
        QTest::newRow("OR") << "camion OR ley" << QVector<int>{};
        QTest::newRow("NOT") << "reino NOT israel" << QVector<int>{};
        QTest::newRow("NEAR") << "NEAR(ley reino)" << QVector<int>{};
        QTest::newRow("column filter") << "body:reino" << QVector<int>{};
        QTest::newRow("column filter braces") << "{title}: ley" << QVector<int>{};
        QTest::newRow("minus and caret") << "-ley ^reino" << QVector<int>{1};
        QTest::newRow("parentheses") << "(reino)" << QVector<int>{1, 5};
        QTest::newRow("plus") << "ley+reino" << QVector<int>{1};
    }

    void readsSyntaxWordsAsWords() {
        QFETCH(QString, query);
        QFETCH(QVector<int>, hits);
        QCOMPARE(file->search(query), hits);
    }

    void limitsHitsToTheScope() {
        const QVector<int> current{5};
        QCOMPARE(file->search("reino", &current), QVector<int>{5});
        const QVector<int> list{6, 1, 3};
        QCOMPARE(file->search("reino", &list), QVector<int>{1});
        QCOMPARE(file->search("israel", &list), QVector<int>({1, 6}));
        const QVector<int> none;
        QVERIFY(file->search("reino", &none).isEmpty());
        const QVector<int> unknown{99};
        QVERIFY(file->search("reino", &unknown).isEmpty());
        title::SearchHits hits;
        file->searchHits("israel", &list, hits);
        QCOMPARE(hits.size(), 2);
        QCOMPARE(hits.topic(1), 6);
        QCOMPARE(hits.title(1), QStringLiteral("Cabecera"));
    }

    void givesTheMatchedWords() {
        QCOMPARE(file->matchedTerms("Camión"), QStringList{"camion"});
        QCOMPARE(file->matchedTerms("Ju*"), QStringList({"juan", "jueces", "juez"}));
        QCOMPARE(file->matchedTerms("De?????"),
                 QStringList({"deberia", "deciden", "decimos", "delante", "derecho", "despues"}));
        QCOMPARE(file->matchedTerms("\"Los hermanos\" ley"),
                 QStringList({"hermanos", "ley", "los"}));
    }

    void foldsWordsLikeTheIndex() {
        QCOMPARE(title::foldedWord("Camión"), QStringLiteral("camion"));
        QCOMPARE(title::foldedWord("ÑANDÚ"), QStringLiteral("nandu"));
        QCOMPARE(title::foldedWord("Pingüino"), QStringLiteral("pinguino"));
        for (const QString &word : {QStringLiteral("Debería"), QStringLiteral("JOSÉ")})
            QCOMPARE(file->matchedTerms(word), QStringList{title::foldedWord(word)});
    }

private:
    static constexpr int kWordTopics = 600;
    QTemporaryDir dir;
    std::unique_ptr<TitleFile> file;
    QString optimized;
    QString segmented;
};

QTEST_GUILESS_MAIN(TestTitleSearch)
#include "test_title_search.moc"
