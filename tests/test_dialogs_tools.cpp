// The print list, clipboard copy, font size and updates dialogs, driven by a
// viewer over a small title; and the keys of every dialog.

#include "actualizar.h"
#include "anadir.h"
#include "buscar.h"
#include "clipboard.h"
#include "copiar.h"
#include "dialogsupport.h"
#include "impresion.h"
#include "opendialog.h"
#include "preferencias.h"
#include "printer.h"
#include "shell.h"
#include "visor_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QToolButton>

using namespace visortest;

namespace {

const QByteArray kUpdatesKeys = "linea9=Novedades\r\nlinea10=Diez\r\nlinea11=Once\r\n"
                                "linea12=Doce\r\nlinea13=Trece\r\nlinea14=Catorce\r\n"
                                "linea15=Quince\r\nlinea16=www.example.org\r\n";

// The sample title with "Capítulo 1" and "Sección 1.1" in the chapter CAP1.
title::TitleSource chapterSource() {
    title::TitleSource source = sampleSource();
    source.topics[1].groups << QStringLiteral("CAP1");
    source.topics[2].groups << QStringLiteral("CAP1");
    return source;
}

QList<int> printEntries() {
    QList<int> entries;
    for (int i = 1; i <= PrintCount; ++i)
        entries << PrintList[i];
    return entries;
}

class ActivationCounter : public QObject {
public:
    explicit ActivationCounter(QWidget *window) : window_(window) {
        window->installEventFilter(this);
    }
    ~ActivationCounter() override { window_->removeEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override {
        count += event->type() == QEvent::WindowActivate;
        return false;
    }
    int count = 0;

private:
    QWidget *window_;
};

void click(QAbstractButton *button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestDialogsTools : public QObject, ViewerTest {
    Q_OBJECT

private:
    std::vector<std::unique_ptr<TDialogForm>> dialogs_;
    std::unique_ptr<clipboard::MemoryClipboard> clipboard_;

    void start(const QByteArray &ini, const title::TitleSource &source) {
        writeFolder(ini, source);
        viewer_ = createViewer();
        add(2, &formaActualizacion);
        add(5, &formaPreferencias);
        add(10, &formaImpresion);
        add(7, &formaCopiar);
        viewer_->show();
        QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));
    }

    template <typename Form> void add(int code, Form **global) {
        dialogs_.push_back(createDialog(code, global));
    }

    void open(QToolButton *button, QWidget *dialog) {
        click(button);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
    }

    void openUpdates() {
        viewer_->ShowDialog(formaActualizacion, 2);
        QVERIFY(QTest::qWaitForWindowActive(formaActualizacion));
    }

    // A click into the viewer: its raise step activates the open dialog again.
    void returnFromViewer(QWidget *dialog) {
        ActivationCounter activations(dialog);
        viewer_->activateWindow();
        QTRY_VERIFY(activations.count > 0);
    }

private slots:
    void init() {
        clipboard_ = std::make_unique<clipboard::MemoryClipboard>();
        start(sampleIni(kUpdatesKeys), chapterSource());
    }

    void cleanup() {
        dialogs_.clear();
        destroyViewerAndFolder();
        clipboard_.reset();
    }

    void everyTextFits() {
        for (const auto &dialog : dialogs_) {
            QVERIFY(dialogtest::activate(dialog.get()));
            QCOMPARE(dialogtest::cutOffTexts(dialog.get()).join(QLatin1Char('|')), QString());
        }
    }

    // From the keyboard: the first focus and Tab follow the dialog's tab order
    // over the controls that take it (a group's checked radio button only),
    // Tab leaves a memo, Enter in an edit box does nothing (no button is the
    // default) and Enter presses the focused push button.
    void keyboard_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("tabs"); // from the first focus, once round
        QTest::addColumn<QString>("closer");   // a push button that closes the dialog
        QTest::newRow("Buscar") << 6
                                << QStringList{"Edit1", "RadioButton3", "CheckListBox1", "Button2"}
                                << "Button2";
        QTest::newRow("Anotaciones")
            << 8 << QStringList{"Button1", "ListBox1", "Button2", "Button3", "Button4", "Memo1"}
            << "Button4";
    }
    void keyboard() {
        QFETCH(int, code);
        QFETCH(QStringList, tabs);
        QFETCH(QString, closer);
        add(6, &formaBuscar);
        add(8, &formaAnotaciones);
        TForm *dialog = viewer_->DialogForm(code);
        viewer_->ShowDialog(dialog, code);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QStringList seen;
        for (int i = 0; i <= tabs.size(); ++i) {
            seen << QApplication::focusWidget()->objectName();
            auto *memo = qobject_cast<QPlainTextEdit *>(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (memo)
                QVERIFY(!memo->toPlainText().contains(QLatin1Char('\t')));
        }
        QCOMPARE(seen, tabs + QStringList{tabs.first()});
        if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("Edit1"))) {
            QTest::keyClicks(edit, QStringLiteral("reino"));
            QTest::keyClick(edit, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            QCOMPARE(view().SearchHitCount(), 0);
        }
        auto *button = dialog->findChild<QPushButton *>(closer);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    }

    void printListBookkeeping() {
        TformaImpresion *d = formaImpresion;
        open(viewer_->ToolButton20, d);
        QVERIFY(d->RadioButton1->isChecked() && !d->CheckListBox1->isEnabled());
        QCOMPARE(dialogtest::lines(d->CheckListBox1), QStringList{QStringLiteral("Capítulo 1")});
        QVERIFY(!d->Button3->isEnabled() && !d->Button4->isEnabled());

        click(d->Button2);
        click(d->Button2);
        view().OpenTopicByContext(QStringLiteral("CAP2"));
        click(d->Button2);
        click(d->RadioButton2);
        QVERIFY(d->CheckListBox1->isEnabled());
        click(d->Button2);
        QCOMPARE(dialogtest::lines(d->ListBox1),
                 (QStringList{"Portada", "Portada", "Capítulo 2", "Capítulo 1", "Sección 1.1"}));
        QCOMPARE(printEntries(), (QList<int>{1, 1, 7, 2, 3}));
        QVERIFY(d->Button3->isEnabled() && d->Button4->isEnabled());

        d->ListBox1->clearSelection();
        click(d->Button3);
        QCOMPARE(PrintCount, 5);
        d->ListBox1->setCurrentRow(2);
        click(d->Button3);
        QCOMPARE(dialogtest::lines(d->ListBox1),
                 (QStringList{"Portada", "Portada", "Capítulo 1", "Sección 1.1"}));
        QCOMPARE(printEntries(), (QList<int>{1, 1, 2, 3}));

        click(d->Button4);
        QCOMPARE(d->ListBox1->count(), 0);
        QCOMPARE(PrintCount, 0);
        QVERIFY(d->Button3->isEnabled() && d->Button4->isEnabled());

        click(d->RadioButton1);
        click(d->Button2);
        d->ListBox1->setCurrentRow(0);
        click(d->Button3);
        QCOMPARE(PrintCount, 0);
        QVERIFY(!d->Button3->isEnabled() && !d->Button4->isEnabled());
    }

    void printListAcrossActivations() {
        TformaImpresion *d = formaImpresion;
        open(viewer_->ToolButton20, d);
        click(d->Button2);
        click(d->Button1);
        QVERIFY(!d->isVisible());
        QCOMPARE(viewer_->DialogCode, 0);

        open(viewer_->ToolButton20, d);
        QCOMPARE(dialogtest::lines(d->ListBox1), QStringList{QStringLiteral("Portada")});
        click(d->RadioButton2);
        d->CheckListBox1->item(0)->setCheckState(Qt::Unchecked);
        returnFromViewer(d);
        QVERIFY(d->RadioButton1->isChecked() && !d->CheckListBox1->isEnabled());
        QCOMPARE(d->CheckListBox1->item(0)->checkState(), Qt::Checked);

        // The list shows the shared table as it now is.
        ResetNavigationState();
        returnFromViewer(d);
        QCOMPARE(d->ListBox1->count(), 0);
    }

    void printListHoldsTenThousandAtMost() {
        cleanup();
        title::TitleSource source;
        source.info << QStringLiteral("TODO.GRP=\"Todo\";");
        for (int i = 1; i <= 5001; ++i) {
            title::SourceTopic topic;
            topic.title = QStringLiteral("Tema %1").arg(i);
            topic.html = QStringLiteral("<p>%1</p>").arg(i);
            topic.groups << QStringLiteral("TODO");
            source.topics << topic;
        }
        start(sampleIni(), source);
        TformaImpresion *d = formaImpresion;
        open(viewer_->ToolButton20, d);
        click(d->RadioButton2);
        click(d->Button2);
        QCOMPARE(PrintCount, 5001);
        click(d->Button2);
        QCOMPARE(PrintCount, 10000);
        QCOMPARE(PrintList[10000], 4999);
        // The title's count, now below the list's, stops any addition.
        click(d->RadioButton1);
        click(d->Button2);
        QCOMPARE(PrintCount, 10000);
        QCOMPARE(d->ListBox1->count(), 10000);
    }

    void printsTheListInOrderAndKeepsIt() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        const QString pdf = folder_->path(QStringLiteral("lista.pdf"));
        printer::PdfPrinter printer(pdf);
        TformaImpresion *d = formaImpresion;
        open(viewer_->ToolButton20, d);
        click(d->Button5);
        QCOMPARE(printer.jobs, 0);

        view().OpenTopicByContext(QStringLiteral("CAP2"));
        click(d->Button2);
        view().GoToFirstTopic();
        click(d->Button2);
        click(d->RadioButton2);
        click(d->Button2);
        click(d->Button5);
        QCOMPARE(printer.jobs, 1);
        QCOMPARE(PrintCount, 4);
        QVERIFY(d->isVisible());
        QStringList pages = testsupport::pdfText(pdf).split(QLatin1Char('\f'));
        pages.removeLast();
        for (QString &page : pages)
            page = page.trimmed().section(QLatin1Char('\n'), 0, 0);
        QCOMPARE(pages, (QStringList{"Capítulo 2", "Portada", "Capítulo 1", "Sección 1.1"}));
    }

    // A printer that takes no job is reported; the list stays.
    void aPrintThatCannotBeMadeIsReported() {
        const QString pdf = folder_->path(QStringLiteral("falta/lista.pdf"));
        printer::PdfPrinter printer(pdf);
        open(viewer_->ToolButton20, formaImpresion);
        click(formaImpresion->Button2);
        testsupport::ErrorRecorder errors;
        click(formaImpresion->Button5);
        QCOMPARE(errors.messages, QStringList{QStringLiteral("No se pudieron imprimir las páginas: "
                                                             "no se puede escribir el archivo %1.")
                                                  .arg(pdf)});
        QCOMPARE(printEntries(), QList<int>{1});
    }

    // Through the system clipboard, as a user would paste it elsewhere.
    void copiesTheSelectionAndKeepsIt() {
        clipboard_.reset();
        auto *body = viewer_->Medview1->findChild<QTextBrowser *>(QStringLiteral("medviewBody"));
        QTextCursor cursor = body->textCursor();
        cursor.select(QTextCursor::Document);
        body->setTextCursor(cursor);
        open(viewer_->ToolButton18, formaCopiar);
        const QString cover = QStringLiteral("Portada\nNota Ir al capítulo 2");
        QCOMPARE(formaCopiar->Memo1->toPlainText(), cover);
        QCOMPARE(QGuiApplication::clipboard()->text(), cover);
        QVERIFY(view().HasSelection());
    }

    void showsWhatTheClipboardOffers() {
        auto *both = new QMimeData;
        both->setText(QStringLiteral("antes\r\notra línea"));
        both->setImageData(QImage(300, 20, QImage::Format_RGB32));
        clipboard_->setMimeData(both);
        open(viewer_->ToolButton18, formaCopiar);
        QCOMPARE(formaCopiar->Memo1->toPlainText(), QStringLiteral("antes\notra línea"));
        QCOMPARE(formaCopiar->Image1->size(), QSize(300, 20));

        auto *picture = new QMimeData;
        picture->setImageData(QImage(8, 6, QImage::Format_RGB32));
        clipboard_->setMimeData(picture);
        returnFromViewer(formaCopiar);
        QCOMPARE(formaCopiar->Memo1->toPlainText(), QStringLiteral("antes\notra línea"));
        QCOMPARE(formaCopiar->Image1->size(), QSize(8, 6));
        // The box is white around a picture smaller than it.
        QCOMPARE(formaCopiar->ScrollBox1->viewport()->grab().toImage().pixelColor(100, 100),
                 QColor(Qt::white));

        click(formaCopiar->Button1);
        QVERIFY(!formaCopiar->isVisible());
        QVERIFY(!clipboard_->mimeData());
        open(viewer_->ToolButton18, formaCopiar);
        QCOMPARE(formaCopiar->Memo1->toPlainText(), QStringLiteral("antes\notra línea"));
        click(formaCopiar->Button2);
        QVERIFY(!formaCopiar->isVisible());
    }

    void clipboardHeldOpenIsReported() {
        testsupport::ErrorRecorder errors;
        clipboard_->heldOpen = true;
        open(viewer_->ToolButton18, formaCopiar);
        click(formaCopiar->Button1);
        QVERIFY(formaCopiar->isVisible());
        QCOMPARE(errors.messages.value(0), QStringLiteral("Cannot open clipboard"));
        QCOMPARE(errors.messages.size(), 2);
    }

    void spinFieldCorrections_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("zoom");
        QTest::newRow("in range") << "120" << 120;
        QTest::newRow("above") << "1000" << 300;
        QTest::newRow("below") << "7" << 50;
        QTest::newRow("lone minus") << "-" << 50;
        QTest::newRow("letters refused") << "2b50" << 250;
    }

    void spinFieldCorrections() {
        QFETCH(QString, typed);
        QFETCH(int, zoom);
        open(viewer_->ToolButton15, formaPreferencias);
        TSpinEdit *field = formaPreferencias->SpinEdit1;
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, typed);
        click(formaPreferencias->Button1);
        QCOMPARE(view().FontZoom(), zoom);
        QVERIFY(!formaPreferencias->isVisible());
    }

    void zoomWrittenBackOnEveryClose() {
        open(viewer_->ToolButton15, formaPreferencias);
        TSpinEdit *field = formaPreferencias->SpinEdit1;
        QCOMPARE(field->value(), 100);
        QTest::keyClick(field, Qt::Key_Up);
        QTest::keyClick(field, Qt::Key_Up);
        QCOMPARE(view().FontZoom(), 100);
        click(formaPreferencias->Button2);
        QCOMPARE(view().FontZoom(), 100);

        view().setFontZoom(40);
        open(viewer_->ToolButton15, formaPreferencias);
        QCOMPARE(field->value(), 50);
        formaPreferencias->close();
        QCOMPARE(view().FontZoom(), 40);
        QCOMPARE(viewer_->DialogCode, 0);
        open(viewer_->ToolButton15, formaPreferencias);
        click(formaPreferencias->Button1);
        QCOMPARE(view().FontZoom(), 50);
    }

    void updatesText_data() {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        QTest::newRow("all keys") << kUpdatesKeys
                                  << "Novedades\r\rDiez\rOnce\rDoce\rTrece\r\rCatorce\rQuince\r\r"
                                  << "www.example.org";
        QTest::newRow("none") << QByteArray() << QString(10, QLatin1Char('\r')) << QString();
    }

    void updatesText() {
        QFETCH(QByteArray, keys);
        QFETCH(QString, text);
        QFETCH(QString, address);
        cleanup();
        start(sampleIni(keys), chapterSource());
        QCOMPARE(formaActualizacion->Label1->Caption(), text);
        QCOMPARE(formaActualizacion->Button1->text(), address);
        QCOMPARE(ansi::toQt(formaActualizacion->UpdatesAddress()), address);
    }

    void addressThroughTheShell() {
        shell::RecordingShell shell;
        openUpdates();
        const QString text = formaActualizacion->Label1->Caption();
        click(formaActualizacion->Button1);
        QCOMPARE(shell.calls.size(), size_t(1));
        QCOMPARE(shell.calls[0].file, AnsiString("http://www.example.org"));
        QVERIFY(shell.calls[0].verb.empty() && shell.calls[0].directory.empty());
        QCOMPARE(shell.calls[0].showCommand, SW_SHOWMAXIMIZED);
        QCOMPARE(formaActualizacion->Label1->Caption(), text);
        // The desktop's opener finds no browser after the call has returned.
        const QString failed = QStringLiteral("Se generó un error al tratar de conectarse");
        QVERIFY(shell.calls[0].onLateFailure);
        shell.calls[0].onLateFailure();
        QCOMPARE(formaActualizacion->Label1->Caption(), failed);
        shell.result = 32;
        click(formaActualizacion->Button1);
        QCOMPARE(formaActualizacion->Label1->Caption(), failed);
        shell.result = 42;
        click(formaActualizacion->Button1);
        QCOMPARE(formaActualizacion->Label1->Caption(), failed);
        QVERIFY(formaActualizacion->isVisible());
    }

    void titleStem_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stem");
        QTest::newRow("dvk") << "/t/otro.dvk"
                             << "/t/otro";
        QTest::newRow("upper case") << "/t/OTRO.DVK"
                                    << "/t/OTRO";
        QTest::newRow("longer extension") << "/t/otro.dvkx"
                                          << "/t/otro.";
        QTest::newRow("short") << "abc"
                               << "";
    }

    void titleStem() {
        QFETCH(QString, chosen);
        QFETCH(QString, stem);
        QCOMPARE(ansi::toQt(TformaActualizacion::TitleStem(ansi::fromQt(chosen))), stem);
    }

    void choosesAnotherTitle() {
        QCOMPARE(opendialog::nameFilters("Archivos Dorvik (*.dvk)|*.DVK"),
                 QStringLiteral("Archivos Dorvik (*.dvk)"));
        title::TitleSource other;
        other.topics << title::SourceTopic{QStringLiteral("MAREAS"),
                                           QStringLiteral("Mareas"),
                                           QStringLiteral("<p>Mareas</p>"),
                                           {},
                                           true};
        const QString folder = folder_->path(QStringLiteral("nuevo"));
        QVERIFY(QDir().mkpath(folder));
        for (const char *name : {"nuevo/otro.dvk", "nuevo/solo.dvk", "nuevo/malo.dvk"})
            QVERIFY(title::writeTitle(other, folder_->path(QString::fromLatin1(name))));
        folder_->scratch().write(QStringLiteral("nuevo/otro.ark"), "Mareas|MAREAS\r\n");
        folder_->scratch().write(QStringLiteral("nuevo/malo.ark"), "Uno\r\n\t\tTres\r\n");
        opendialog::ScriptedOpenDialog chooser;
        auto choose = [&](const char *name) {
            chooser.answer = name ? std::optional<QString>(folder + "/" + name) : std::nullopt;
            openUpdates();
            click(formaActualizacion->Button3);
        };

        choose("otro.dvk");
        QCOMPARE(chooser.filters, std::vector<AnsiString>{"Archivos Dorvik (*.dvk)|*.DVK"});
        QVERIFY(!formaActualizacion->isVisible());
        QCOMPARE(view().MediaViewTopic(), QStringLiteral("Mareas"));
        QVERIFY(viewer_->TreeView1->isVisible() && viewer_->Splitter1->isVisible());
        QCOMPARE(viewer_->TreeView1->topLevelItem(0)->text(0), QStringLiteral("Mareas"));
        QCOMPARE(QDir::currentPath(), folder);
        QCOMPARE(TitleName, AnsiString("prueba"));

        choose("solo.dvk");
        QVERIFY(view().MediaViewTitle().endsWith(QStringLiteral("solo.dvk")));
        QVERIFY(!viewer_->TreeView1->isVisible() && !viewer_->Splitter1->isVisible());

        choose(nullptr);
        QVERIFY(!formaActualizacion->isVisible());
        QVERIFY(view().MediaViewTitle().endsWith(QStringLiteral("solo.dvk")));

        testsupport::ErrorRecorder errors;
        choose("malo.dvk");
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages[0].startsWith(QStringLiteral("Invalid level (2)")));
        QVERIFY(view().MediaViewTitle().endsWith(QStringLiteral("solo.dvk")));
        QVERIFY(formaActualizacion->isVisible());

        // A file that is no title is named before anything changes, its tree too.
        folder_->scratch().write(QStringLiteral("nuevo/basura.dvk"), "esto no es un libro\n");
        folder_->scratch().write(QStringLiteral("nuevo/basura.ark"), "Otro|OTRO\r\n");
        const QString firstNode = viewer_->TreeView1->topLevelItem(0)->text(0);
        choose("basura.dvk");
        QCOMPARE(errors.messages.last(), QStringLiteral("No se puede abrir el libro %1/basura.dvk: "
                                                        "el archivo no es un libro o está dañado.")
                                             .arg(folder));
        QVERIFY(view().MediaViewTitle().endsWith(QStringLiteral("solo.dvk")));
        QCOMPARE(viewer_->TreeView1->topLevelItem(0)->text(0), firstNode);
    }
};

QTEST_MAIN(TestDialogsTools)
#include "test_dialogs_tools.moc"
