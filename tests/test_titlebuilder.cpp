// The title builder: reading a source folder, writing and replacing title
// files, the header split, and the titlebuilder command.

#include "htmltext.h"
#include "testsupport.h"
#include "titlebuilder.h"
#include "titlefile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray kManifest = R"({
  "info": ["CAP1.GRP=\"Capítulo 1\";", "_AUTOR=\"Ana\";"],
  "topics": [
    {"context": "PORTADA", "title": "Portada", "file": "topics/portada.htm", "groups": ["CAP1"]},
    {"context": "NOTA", "title": "Nota", "file": "topics/nota.htm", "browse": false},
    {"context": "FIN", "title": "Fin", "file": "fin.htm", "groups": ["CAP1", "CAP2"], "browse": true}
  ]
})";

// A complete source folder; `manifest` replaces title.json when given.
void writeSourceFolder(const QString &folder, const QByteArray &manifest = kManifest) {
    writeFile(folder + "/title.json", manifest);
    writeFile(folder + "/topics/portada.htm",
              "\xEF\xBB\xBF<header><h1>Portada</h1></header><p>Ver <a href=\"popup:NOTA\">nota</a>"
              " y <a href=\"jump:fin\">fin</a>. <img src=\"logo.png\"> "
              "<a href=\"cmd:musica.wav\">m\xC3\xBAsica</a></p>");
    writeFile(folder + "/topics/nota.htm", "<p>Una nota <img src='fotos/casa.jpg'></p>");
    writeFile(folder + "/fin.htm", "<p>Fin del libro</p>");
    writeFile(folder + "/pictures/logo.png", "PNG");
    writeFile(folder + "/pictures/fotos/casa.jpg", "JPG");
}

QStringList partFiles(const QString &folder) {
    return QDir(folder).entryList({"*.part"}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestTitleBuilder : public QObject {
    Q_OBJECT

private slots:
    void readsASourceFolder() {
        QTemporaryDir dir;
        writeSourceFolder(dir.path());
        title::TitleSource source;
        QString error;
        QVERIFY2(title::readTitleSource(dir.path(), &source, &error), qPrintable(error));

        QCOMPARE(source.info, QStringList({"CAP1.GRP=\"Capítulo 1\";", "_AUTOR=\"Ana\";"}));
        QCOMPARE(source.topics.size(), 3);
        QCOMPARE(source.topics[0].context, QStringLiteral("PORTADA"));
        QCOMPARE(source.topics[0].title, QStringLiteral("Portada"));
        QCOMPARE(source.topics[0].groups, QStringList{"CAP1"});
        QVERIFY(source.topics[0].browse);                      // the default
        QVERIFY(source.topics[0].html.startsWith("<header>")); // byte order mark dropped
        QVERIFY(source.topics[0].html.contains(QStringLiteral("música")));
        QVERIFY(!source.topics[1].browse);
        QVERIFY(source.topics[1].groups.isEmpty());
        QCOMPARE(source.topics[2].groups, QStringList({"CAP1", "CAP2"}));
        QCOMPARE(source.pictures.keys(), QStringList({"fotos/casa.jpg", "logo.png"}));
        QCOMPARE(source.pictures.value("fotos/casa.jpg"), QByteArray("JPG"));
    }

    void rejectsBadSources_data() {
        QTest::addColumn<QByteArray>("manifest");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("no folder") << kManifest << "nofolder"
                                   << "no source folder";
        QTest::newRow("no manifest") << kManifest << "nomanifest"
                                     << "title.json";
        QTest::newRow("bad JSON") << QByteArray("{\"topics\": [") << ""
                                  << "title.json";
        QTest::newRow("not an object") << QByteArray("[]") << ""
                                       << "JSON object";
        QTest::newRow("no topics") << QByteArray("{\"info\": []}") << ""
                                   << "\"topics\"";
        QTest::newRow("info not strings") << QByteArray("{\"info\": [1], \"topics\": []}") << ""
                                          << "\"info\"";
        QTest::newRow("unknown key")
            << QByteArray(R"({"topics": [{"context": "A", "title": "A", "file": "fin.htm",
                           "brwose": false}]})")
            << ""
            << "unknown key \"brwose\"";
        QTest::newRow("no context")
            << QByteArray(R"({"topics": [{"title": "A", "file": "fin.htm"}]})") << ""
            << "topic 1: \"context\"";
        QTest::newRow("browse not boolean")
            << QByteArray(R"({"topics": [{"context": "A", "title": "A", "file": "fin.htm",
                           "browse": "si"}]})")
            << ""
            << "\"browse\"";
        QTest::newRow("file outside")
            << QByteArray(R"({"topics": [{"context": "A", "title": "A", "file": "../x.htm"}]})")
            << ""
            << "\"file\"";
        QTest::newRow("missing topic file")
            << QByteArray(R"({"topics": [{"context": "A", "title": "A", "file": "nada.htm"}]})")
            << ""
            << "nada.htm";
        QTest::newRow("not UTF-8") << kManifest << "latin1"
                                   << "not UTF-8";
        QTest::newRow("unknown jump") << kManifest << "jump"
                                      << "jump link to unknown topic";
        QTest::newRow("unknown picture") << kManifest << "picture"
                                         << "picture \"logo.png\"";
    }

    void rejectsBadSources() {
        QFETCH(QByteArray, manifest);
        QFETCH(QString, damage);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QString folder = dir.path();
        writeSourceFolder(folder, manifest);
        if (damage == "nofolder")
            folder = dir.filePath("nada");
        else if (damage == "nomanifest")
            QFile::remove(dir.filePath("title.json"));
        else if (damage == "latin1")
            writeFile(dir.filePath("fin.htm"), "<p>Cami\xF3n</p>");
        else if (damage == "jump")
            writeFile(dir.filePath("fin.htm"), "<p><a href=\"jump:OTRO\">x</a></p>");
        else if (damage == "picture")
            QFile::remove(dir.filePath("pictures/logo.png"));

        title::TitleSource source;
        QString error;
        QVERIFY(!title::readTitleSource(folder, &source, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void writesWhatItRead() {
        QTemporaryDir dir;
        writeSourceFolder(dir.filePath("src"));
        title::TitleSource source;
        QVERIFY(title::readTitleSource(dir.filePath("src"), &source));
        const QString output = dir.filePath("salida/nueva/libro.dvk"); // folders are made
        QString error;
        QVERIFY2(title::writeTitle(source, output, &error), qPrintable(error));

        auto file = title::TitleFile::open(output);
        QVERIFY(file);
        QCOMPARE(file->topicCount(), 3);
        QCOMPARE(file->topic(1)->headerHtml, QStringLiteral("<h1>Portada</h1>"));
        QVERIFY(file->topic(1)->bodyHtml.contains("href=\"cmd:musica.wav\""));
        QCOMPARE(file->nextBrowseTopic(1), std::optional<int>(3));
        QCOMPARE(file->groupTopics("CAP2"), QVector<int>{3});
        QCOMPARE(file->picture("fotos/casa.jpg"), QByteArray("JPG"));
        QCOMPARE(file->search("musica"), QVector<int>{1});
        QVERIFY(partFiles(dir.filePath("salida/nueva")).isEmpty());
    }

    void replacesTheOutputOnlyWhenItSucceeds() {
        QTemporaryDir dir;
        const QString output = dir.filePath("libro.dvk");
        writeFile(output, "old");
        title::TitleSource source;
        source.topics.resize(2);
        source.topics[0].context = "UNO";
        source.topics[1].context = "uno"; // contexts are looked up ignoring case
        QString error;
        QVERIFY(!title::writeTitle(source, output, &error));
        QVERIFY2(error.contains("used twice"), qPrintable(error));
        QFile old(output);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        old.close();

        source.topics[1].context = "DOS";
        QVERIFY(title::writeTitle(source, output, &error));
        QVERIFY(title::TitleFile::open(output));
        QVERIFY(partFiles(dir.path()).isEmpty());

        // A folder in the way: the write fails and leaves nothing behind.
        QVERIFY(QDir().mkpath(dir.filePath("carpeta.dvk/dentro")));
        QVERIFY(!title::writeTitle(source, dir.filePath("carpeta.dvk"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(partFiles(dir.path()).isEmpty());
    }

    void refusesPicturesDifferingOnlyInCase() {
        QTemporaryDir dir;
        title::TitleSource source;
        source.topics.resize(1);
        source.pictures.insert("Logo.png", "a");
        source.pictures.insert("logo.PNG", "b");
        QString error;
        QVERIFY(!title::writeTitle(source, dir.filePath("x.dvk"), &error));
        QVERIFY2(error.contains("differs only in case"), qPrintable(error));
    }

    void splitsTheHeader() {
        auto split =
            title::splitTopicHtml(" \n<HEADER class=\"a\"><b>Cab</b></Header >\n<p>Cuerpo</p>");
        QCOMPARE(split.header, QStringLiteral("<b>Cab</b>"));
        QCOMPARE(split.body, QStringLiteral("\n<p>Cuerpo</p>"));
        split = title::splitTopicHtml("<p>Antes</p><header>No</header>");
        QCOMPARE(split.header, QString());
        QCOMPARE(split.body, QStringLiteral("<p>Antes</p><header>No</header>"));
    }

    void commandReportsBadInput() {
        const QString program = testsupport::binaryDir() + "/tools/titlebuilder";
        QTemporaryDir dir;
        QProcess run;
        run.start(program, {});
        QVERIFY(run.waitForFinished());
        QVERIFY(run.exitCode() != 0);
        QVERIFY(run.readAllStandardError().contains("usage"));

        run.start(program, {dir.filePath("nada"), dir.filePath("x.dvk")});
        QVERIFY(run.waitForFinished());
        QCOMPARE(run.exitCode(), 1);
        QVERIFY(run.readAllStandardError().contains("no source folder"));
        QVERIFY(!QFileInfo::exists(dir.filePath("x.dvk")));

        writeSourceFolder(dir.filePath("src"));
        run.start(program, {dir.filePath("src"), dir.filePath("x.dvk")});
        QVERIFY(run.waitForFinished());
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(title::TitleFile::open(dir.filePath("x.dvk")));
    }
};

QTEST_GUILESS_MAIN(TestTitleBuilder)
#include "test_titlebuilder.moc"
