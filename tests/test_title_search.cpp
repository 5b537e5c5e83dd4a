// Full-text search with the syntax the search dialog teaches: words (all must
// occur), "quoted phrases", prefixes Ju*, single-letter wildcards De?????,
// case and accents ignored, scopes, and malformed queries that find nothing.

#include "titlebuilder.h"
#include "titlefile.h"

#include <QTemporaryDir>
#include <QtTest>

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
    };
    return source;
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
        const auto withTitles = file->searchHits(query);
        QCOMPARE(withTitles.size(), hits.size());
        for (int i = 0; i < hits.size(); ++i) {
            QCOMPARE(withTitles[i].topic, hits[i]);
            QCOMPARE(withTitles[i].title, file->topicTitle(hits[i]));
        }
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
        const auto hits = file->searchHits("israel", &list);
        QCOMPARE(hits.size(), 2);
        QCOMPARE(hits[1].topic, 6);
        QCOMPARE(hits[1].title, QStringLiteral("Cabecera"));
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
    QTemporaryDir dir;
    std::unique_ptr<TitleFile> file;
};

QTEST_GUILESS_MAIN(TestTitleSearch)
#include "test_title_search.moc"
