// The desktop shell: addresses and documents go to the desktop's opener,
// programs start detached with literal arguments, never through
// a command interpreter.

#include "shell.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cstring>
#include <memory>
#include <signal.h>

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

QStringList readLines(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList waitForLines(const QString &path) {
    if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 15000))
        return {QStringLiteral("<nothing written>")};
    return readLines(path);
}

AnsiString local(const QString &path) {
    return ansi::fromQt(path);
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT

private:
    // The opener's stand-in: appends each target it is handed, one per line,
    // to a file, so that no browser or application ever starts.
    QTemporaryDir openerDir;
    std::unique_ptr<shell::ScopedOpener> opener;

    QString openedFile() const { return openerDir.filePath(QStringLiteral("opened.txt")); }

    // What the opener was handed, once it has been handed `count` targets.
    QStringList opened(int count) {
        QStringList targets;
        (void)QTest::qWaitFor(
            [&] {
                targets = readLines(openedFile());
                return targets.size() >= count;
            },
            15000);
        return targets;
    }

    intptr_t execute(const AnsiString &file, const AnsiString &parameters = AnsiString(),
                     const AnsiString &directory = AnsiString()) {
        return ShellExecuteA(nullptr, AnsiString(), file, parameters, directory, SW_SHOWMAXIMIZED);
    }

private slots:
    void initTestCase() {
        const QString program = openerDir.filePath(QStringLiteral("opener"));
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + openedFile().toUtf8() + "'\n");
        script.close();
        makeExecutable(program);
        opener = std::make_unique<shell::ScopedOpener>(program);
    }

    void cleanupTestCase() { opener.reset(); }

    void init() { QFile::remove(openedFile()); }

    void webAddressesOpenWithTheDesktop() {
        QVERIFY(execute("http://www.ejemplo.com/p\xE1gina con blancos.htm") > 32);
        opened(1); // the openers run side by side
        QVERIFY(execute("https://www.ejemplo.com/") > 32);
        const QStringList targets = opened(2);
        QCOMPARE(targets.size(), 2);
        // Strict parsing: the opener is handed the address encoded.
        const QUrl first(targets[0], QUrl::StrictMode);
        QCOMPARE(first.host(), QStringLiteral("www.ejemplo.com"));
        QCOMPARE(first.path(QUrl::FullyDecoded), QStringLiteral("/página con blancos.htm"));
        QCOMPARE(QUrl(targets[1]).scheme(), QStringLiteral("https"));
    }

    // The opener reports a missing browser or application only by its exit
    // status, whenever it ends; the launch does not wait for it. One still
    // running has found its application.
    void anOpenerThatFailsIsReportedWhenItEnds_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("fails");
        QTest::newRow("fails after a second") << QByteArray("sleep 1\nexit 3\n") << true;
        QTest::newRow("crashes") << QByteArray("kill -KILL $$\n") << true;
        QTest::newRow("ends well") << QByteArray("exit 0\n") << false;
        // Then ended by a signal, as a crash is. Its output would hold the
        // test runner's pipe open after the test.
        QTest::newRow("keeps running") << QByteArray("exec sleep 5 >/dev/null 2>&1\n") << true;
    }

    void anOpenerThatFailsIsReportedWhenItEnds() {
        QFETCH(QByteArray, script);
        QFETCH(bool, fails);
        // The opener starts in the current directory and leaves its pid there.
        testsupport::ScratchDir scratch(true);
        scratch.write(QStringLiteral("opener"),
                      "#!/bin/sh\necho $$ > pid.new && mv pid.new pid\n" + script);
        makeExecutable(scratch.filePath(QStringLiteral("opener")));
        const shell::ScopedOpener installed(scratch.filePath(QStringLiteral("opener")));
        int reported = 0;
        QWidget owner;
        QVERIFY(ShellExecuteA(&owner, AnsiString(), "https://www.ejemplo.com/", AnsiString(),
                              AnsiString(), SW_SHOWMAXIMIZED, [&reported] { ++reported; }) > 32);
        QCOMPARE(reported, 0); // nothing is reported before the opener ends
        const pid_t pid = waitForLines(scratch.filePath(QStringLiteral("pid"))).value(0).toInt();
        QVERIFY(pid > 0);
        if (script.startsWith("exec sleep")) { // left running by the call
            QCOMPARE(::kill(pid, 0), 0);
            ::kill(pid, SIGTERM);
        }
        // Once it ends it is reaped, not left a zombie, and its end is seen.
        QVERIFY(QTest::qWaitFor([pid] { return ::kill(pid, 0) != 0; }, 15000));
        QTRY_COMPARE_WITH_TIMEOUT(reported, fails ? 1 : 0, 15000);
    }

    void fileAddressesFindTheLocalFile() {
        testsupport::ScratchDir scratch;
        scratch.write(QStringLiteral("DOC/Manual de uso.doc"), "doc");
        const AnsiString base = local(scratch.path());
        QVERIFY(execute("file://" + base + "\\doc\\MANUAL DE USO.DOC") > 32);
        const QStringList found{scratch.filePath(QStringLiteral("DOC/Manual de uso.doc"))};
        QCOMPARE(opened(1), found);

        QCOMPARE(execute("file://" + base + "/DOC/falta.doc"), intptr_t(2));
        QCOMPARE(readLines(openedFile()), found);
    }

    void documentsOpenWithTheirApplication() {
        testsupport::ScratchDir scratch(true);
        scratch.write(QStringLiteral("manual.pdf"), "%PDF-1.4\n");
        // Copied from a system without execute bits, a document may carry them.
        scratch.write(QStringLiteral("informe.doc"), "doc");
        makeExecutable(scratch.filePath(QStringLiteral("informe.doc")));
        QVERIFY(execute("MANUAL.PDF") > 32);
        opened(1);
        QVERIFY(execute("informe.doc", "--nada") > 32);
        QCOMPARE(opened(2), (QStringList{scratch.filePath(QStringLiteral("manual.pdf")),
                                         scratch.filePath(QStringLiteral("informe.doc"))}));
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
        QVERIFY(!QFile::exists(openedFile()));
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
        QVERIFY(!QFile::exists(openedFile()));
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
