// The desktop shell: addresses and documents go to the desktop's default
// application, programs start detached with literal arguments, never through
// a command interpreter.

#include "shell.h"
#include "testsupport.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>
#include <cstring>

namespace {

const char *const kRecordLaunch = "--record-launch";

// Started as the reader's stand-in: writes its arguments and its working
// directory, one per line, to "launch.txt" in that directory.
int recordLaunch(int argc, char **argv) {
    QByteArray lines;
    for (int i = 2; i < argc; ++i)
        lines += QByteArray(argv[i]) + '\n';
    lines += QDir::currentPath().toUtf8() + '\n';
    QFile file(QStringLiteral("launch.txt.part"));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(lines);
    file.close();
    return QFile::rename(QStringLiteral("launch.txt.part"), QStringLiteral("launch.txt")) ? 0 : 1;
}

// A program that writes each argument and then its working directory, one
// per line, to `output`.
QByteArray recorderScript(const QString &output) {
    return "#!/bin/sh\n"
           "out='" +
           output.toUtf8() +
           "'\n"
           ": > \"$out.part\"\n"
           "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.part\"; done\n"
           "pwd >> \"$out.part\"\n"
           "mv \"$out.part\" \"$out\"\n";
}

void makeExecutable(const QString &path) {
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup |
                                    QFile::ExeOther);
}

QStringList waitForLines(const QString &path) {
    if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 15000))
        return {QStringLiteral("<nothing written>")};
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

AnsiString local(const QString &path) {
    return ansi::fromQt(path);
}

} // namespace

class UrlCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestShell : public QObject {
    Q_OBJECT

private:
    UrlCatcher catcher;

    intptr_t execute(const AnsiString &file, const AnsiString &parameters = AnsiString(),
                     const AnsiString &directory = AnsiString()) {
        return ShellExecuteA(nullptr, AnsiString(), file, parameters, directory, SW_SHOWMAXIMIZED);
    }

private slots:
    void initTestCase() {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &catcher, "open");
    }

    void cleanupTestCase() {
        for (const char *scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }

    void init() { catcher.urls.clear(); }

    void webAddressesOpenWithTheDesktop() {
        QVERIFY(execute("http://www.ejemplo.com/p\xE1gina con blancos.htm") > 32);
        QVERIFY(execute("https://www.ejemplo.com/") > 32);
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(catcher.urls[0].host(), QStringLiteral("www.ejemplo.com"));
        QCOMPARE(catcher.urls[0].path(), QStringLiteral("/página con blancos.htm"));
        QCOMPARE(catcher.urls[1].scheme(), QStringLiteral("https"));
    }

    void fileAddressesFindTheLocalFile() {
        testsupport::ScratchDir scratch;
        scratch.write(QStringLiteral("DOC/Manual de uso.doc"), "doc");
        const AnsiString base = local(scratch.path());
        QVERIFY(execute("file://" + base + "\\doc\\MANUAL DE USO.DOC") > 32);
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls[0].toLocalFile(),
                 scratch.filePath(QStringLiteral("DOC/Manual de uso.doc")));

        QCOMPARE(execute("file://" + base + "/DOC/falta.doc"), intptr_t(2));
        QCOMPARE(catcher.urls.size(), 1);
    }

    void documentsOpenWithTheirApplication() {
        testsupport::ScratchDir scratch(true);
        scratch.write(QStringLiteral("manual.pdf"), "%PDF-1.4\n");
        // Copied from a system without execute bits, a document may carry them.
        scratch.write(QStringLiteral("informe.doc"), "doc");
        makeExecutable(scratch.filePath(QStringLiteral("informe.doc")));
        QVERIFY(execute("MANUAL.PDF") > 32);
        QVERIFY(execute("informe.doc", "--nada") > 32);
        QCOMPARE(catcher.urls.size(), 2);
        QCOMPARE(catcher.urls[0].toLocalFile(), scratch.filePath(QStringLiteral("manual.pdf")));
        QCOMPARE(catcher.urls[1].toLocalFile(), scratch.filePath(QStringLiteral("informe.doc")));
    }

    void programArgumentsArePassedLiterally() {
        testsupport::ScratchDir scratch;
        const QString output = scratch.filePath(QStringLiteral("args.txt"));
        scratch.write(QStringLiteral("bin/grabador"), recorderScript(output));
        makeExecutable(scratch.filePath(QStringLiteral("bin/grabador")));
        QDir(scratch.path()).mkdir(QStringLiteral("trabajo"));

        const AnsiString parameters = "uno \"dos tres\" a;b $(touch pwned) `touch tilde` 'x' &&|>f";
        QVERIFY(execute(local(scratch.filePath(QStringLiteral("bin/grabador"))), parameters,
                        local(scratch.filePath(QStringLiteral("trabajo")))) > 32);
        const QStringList expected{
            QStringLiteral("uno"),    QStringLiteral("dos tres"),
            QStringLiteral("a;b"),    QStringLiteral("$(touch"),
            QStringLiteral("pwned)"), QStringLiteral("`touch"),
            QStringLiteral("tilde`"), QStringLiteral("'x'"),
            QStringLiteral("&&|>f"),  scratch.filePath(QStringLiteral("trabajo"))};
        QCOMPARE(waitForLines(output), expected);
        const QStringList made =
            QDir(scratch.filePath(QStringLiteral("trabajo"))).entryList(QDir::Files);
        QVERIFY2(made.isEmpty(), qPrintable(made.join(QLatin1Char(','))));
        QVERIFY(!QFile::exists(scratch.filePath(QStringLiteral("pwned"))));
        QVERIFY(catcher.urls.isEmpty());
    }

    void relativeProgramsAreFoundInTheWorkingOrCurrentDirectory() {
        testsupport::ScratchDir scratch(true);
        const QString output = scratch.filePath(QStringLiteral("args.txt"));
        scratch.write(QStringLiteral("Tools/Visor"), recorderScript(output));
        makeExecutable(scratch.filePath(QStringLiteral("Tools/Visor")));

        // Relative to the working directory, in another case.
        QVERIFY(execute("visor", "a", local(scratch.filePath(QStringLiteral("tools")))) > 32);
        QCOMPARE(waitForLines(output),
                 (QStringList{QStringLiteral("a"), scratch.filePath(QStringLiteral("Tools"))}));
        QFile::remove(output);

        // Relative to the current directory, written with "\".
        QVERIFY(execute("TOOLS\\VISOR", "b") > 32);
        QCOMPARE(waitForLines(output), (QStringList{QStringLiteral("b"), scratch.path()}));
    }

    void aMissingExeRunsTheProgramBesideIt() {
        testsupport::ScratchDir scratch(true);
        const QString output = scratch.filePath(QStringLiteral("args.txt"));
        scratch.write(QStringLiteral("GENERAL"), recorderScript(output));
        makeExecutable(scratch.filePath(QStringLiteral("GENERAL")));
        QVERIFY(execute("general.Exe", "MANUAL.PDF") > 32);
        QCOMPARE(waitForLines(output), (QStringList{QStringLiteral("MANUAL.PDF"), scratch.path()}));
    }

    void programsAreFoundOnThePath() {
        testsupport::ScratchDir scratch;
        const QString output = scratch.filePath(QStringLiteral("args.txt"));
        scratch.write(QStringLiteral("bin/herramienta-lector"), recorderScript(output));
        makeExecutable(scratch.filePath(QStringLiteral("bin/herramienta-lector")));
        const QByteArray previousPath = qgetenv("PATH");
        qputenv("PATH",
                QFile::encodeName(scratch.filePath(QStringLiteral("bin"))) + ':' + previousPath);
        const intptr_t result = execute("herramienta-lector.exe", "z");
        qputenv("PATH", previousPath);
        QVERIFY(result > 32);
        QCOMPARE(waitForLines(output).value(0), QStringLiteral("z"));
    }

    void theReaderStandsInForAMissingLectorDorvik() {
        testsupport::ScratchDir scratch;
        const AnsiString base = local(scratch.path()) + "/";
        QVERIFY(execute(base + "LectorDorvik.exe", AnsiString(kRecordLaunch) + " otro", base) > 32);
        QCOMPARE(waitForLines(scratch.filePath(QStringLiteral("launch.txt"))),
                 (QStringList{QStringLiteral("otro"), scratch.path()}));
    }

    void failuresReturnSmallCodes() {
        testsupport::ScratchDir scratch(true);
        QCOMPARE(execute(AnsiString()), intptr_t(2));
        QCOMPARE(execute("no-existe-en-parte-alguna.exe"), intptr_t(2));
        QCOMPARE(execute("no-existe", AnsiString(), local(scratch.path())), intptr_t(2));
        QCOMPARE(
            execute("programa", AnsiString(), local(scratch.filePath(QStringLiteral("falta")))),
            intptr_t(3));
        // A program file that cannot be run: no execute permission.
        scratch.write(QStringLiteral("DATOS.EXE"), "MZ");
        QCOMPARE(execute("datos.exe"), intptr_t(5));
        QVERIFY(catcher.urls.isEmpty());
    }
};

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], kRecordLaunch) == 0)
        return recordLaunch(argc, argv);
    QApplication application(argc, argv);
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shell.moc"
