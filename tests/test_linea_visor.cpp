// LectorLinea's viewer: the plain-caption tree read by the shared parser, the
// choice by title and the expansion rule, "Indice", the two bars, the updates
// and search dialog variants, and the hotspot variant with pictures in the
// video window.

#include "actualizarlinea.h"
#include "buscarlinea.h"
#include "dialogsupport.h"
#include "display.h"
#include "mci.h"
#include "messagebox.h"
#include "opendialog.h"
#include "shell.h"
#include "sound.h"
#include "video.h"
#include "visor_fixture.h"
#include "visorlinea.h"

#include "clickcontrols.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace visortest;
using testsupport::ErrorRecorder;

namespace {

QByteArray sampleArb() {
    return "Portada\r\n"
           "Libro\r\n"
           " Cap\xEDtulo 1\r\n"
           "  Secci\xF3n 1.1\r\n"
           " P\xE1gina Dorvik local\r\n"
           "  Enlace\r\n"
           "P\xE1gina Dorvik|web\r\n";
}

QByteArray sampleInf(const QByteArray &lineTwenty) {
    return QByteArray("SI\r\n").repeated(16) + "16\r\n8\r\n17\r\n" + lineTwenty + "\r\n";
}

// Each node as its depth and caption, in index order.
QStringList treeShape(QTreeWidget *tree) {
    QStringList shape;
    for (QTreeWidgetItem *node : arbol::nodesInIndexOrder(tree)) {
        int depth = 0;
        for (QTreeWidgetItem *up = node->parent(); up; up = up->parent())
            ++depth;
        shape << QStringLiteral("%1:%2").arg(depth).arg(node->text(0));
        if (!arbol::nodeTopic(node).empty())
            shape << QStringLiteral("topic!");
    }
    return shape;
}

} // namespace

class TestLineaVisor : public QObject {
    Q_OBJECT

    std::unique_ptr<TitleFolder> folder;
    std::unique_ptr<TformaVisorLinea> viewer;
    std::unique_ptr<shell::RecordingShell> shellDouble;
    std::unique_ptr<ErrorRecorder> errors;

    void create(const QByteArray &lineTwenty = "NO") {
        folder->scratch().write("prueba.inf", sampleInf(lineTwenty));
        viewer = std::make_unique<TformaVisorLinea>();
        formaVisor = viewer.get();
        QVERIFY(runHandler(viewer->OnCreate));
        viewer->videoTimer->stop();
    }
    QTreeWidgetItem *node(const char *caption) {
        return nodeWithCaption(viewer->TreeView1, QString::fromUtf8(caption));
    }
    QString topic() const { return viewer->Medview1->MediaViewTopic(); }
    QString pageAddress() const {
        return QStringLiteral("file://%1/dorvik/index.htm").arg(folder->scratch().path());
    }

private slots:
    void init() {
        folder = std::make_unique<TitleFolder>();
        folder->writePalette();
        folder->writeTitle();
        folder->scratch().write("prueba.arb", sampleArb());
        BaseDir.clear();
        shellDouble = std::make_unique<shell::RecordingShell>();
        errors = std::make_unique<ErrorRecorder>();
    }
    void cleanup() {
        display::setScreenSizeOverride(QSize());
        FormaTelon = nullptr;
        pictureWindow.reset();
        viewer.reset();
        formaVisor = nullptr;
        errors.reset();
        shellDouble.reset();
        folder.reset();
    }

    void theStartTakesLinesSeventeenToTwenty() {
        create("si");
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Dezezi Ver 1.0"));
        QCOMPARE(viewer->StartDir, ansi::fromQt(folder->scratch().path()) + "/");
        QCOMPARE(viewer->Medview1->BackColorSR(), 0x00FFFFFFu);
        QCOMPARE(viewer->Medview1->BackColorNSR(), 0x00C0C0C0u);
        QCOMPARE(viewer->Medview1->BackColorPopup(), 0x0000FFFFu);
        QVERIFY(viewer->ExpandOpensTopic);
        QCOMPARE(topic(), QStringLiteral("Portada"));
        QVERIFY(viewer->Panel2->isVisibleTo(viewer.get()));
        QVERIFY(viewer->TreeView1->isVisibleTo(viewer.get()));
        QCOMPARE(node("Sección 1.1")->data(0, arbol::kImageIndexRole).toInt(), 1);
        QVERIFY(errors->messages.isEmpty());
    }

    void theSharedParserReadsPlainCaptions_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shape");
        QTest::addColumn<QString>("error");
        QTest::newRow("a bar and blanks stay in the caption")
            << QByteArray("A|B|C\r\n B \r\n") << QStringList{"0:A|B|C", "1:B "} << QString();
        QTest::newRow("LF, CR, CR LF, and a NUL ends the text")
            << QByteArray("A\n B\r C\r\n\0D", 12) << QStringList{"0:A", "1:B", "1:C"} << QString();
        QTest::newRow("Windows-1252")
            << QByteArray("P\xE1gina Dorvik") << QStringList{"0:Página Dorvik"} << QString();
        QTest::newRow("two levels deeper") << QByteArray("A\n\t\tB|x\nC") << QStringList{"0:A"}
                                           << QStringLiteral("Invalid level (2) for item \"B|x\"");
    }
    void theSharedParserReadsPlainCaptions() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shape);
        QFETCH(QString, error);
        folder->scratch().write("otro.arb", bytes);
        viewer = std::make_unique<TformaVisorLinea>();
        const bool loaded = runHandler([&] {
            viewer->FillContentsTree(ansi::fromQt(folder->path("otro.arb")),
                                     arbol::TreeFormat::Arb);
        });
        QCOMPARE(loaded, error.isEmpty());
        QCOMPARE(errors->messages, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(treeShape(viewer->TreeView1), shape);
    }

    void choosingANodeOpensItsTitle_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<bool>("page");
        QTest::newRow("a leaf") << "Sección 1.1"
                                << "Sección 1.1" << false;
        QTest::newRow("a node with children") << "Capítulo 1"
                                              << "Portada" << false;
        QTest::newRow("the page, a bar in its caption") << "Página Dorvik|web"
                                                        << "Portada" << true;
    }
    void choosingANodeOpensItsTitle() {
        QFETCH(QString, caption);
        QFETCH(QString, topic);
        QFETCH(bool, page);
        create();
        viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));
        viewer->TreeView1->expandAll();
        QTreeWidgetItem *chosen = nodeWithCaption(viewer->TreeView1, caption);
        QTest::mouseClick(viewer->TreeView1->viewport(), Qt::LeftButton, {},
                          viewer->TreeView1->visualItemRect(chosen).center());
        QCOMPARE(viewer->TreeView1->currentItem(), chosen);
        QCOMPARE(this->topic(), topic);
        QCOMPARE(shellDouble->calls.size(), size_t(page ? 1 : 0));
        if (page)
            QCOMPARE(ansi::toQt(shellDouble->calls[0].file), pageAddress());
    }

    void expandingAChapterBelowTheTopOpensIt_data() {
        QTest::addColumn<QByteArray>("lineTwenty");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<bool>("page");
        QTest::newRow("SI") << QByteArray("SI") << "Capítulo 1"
                            << "Capítulo 1" << false;
        QTest::newRow("si") << QByteArray("si") << "Capítulo 1"
                            << "Capítulo 1" << false;
        QTest::newRow("a blank before SI") << QByteArray(" SI") << "Capítulo 1"
                                           << "Portada" << false;
        QTest::newRow("a root") << QByteArray("SI") << "Libro"
                                << "Portada" << false;
        QTest::newRow("the page") << QByteArray("SI") << "Página Dorvik local"
                                  << "Portada" << true;
    }
    void expandingAChapterBelowTheTopOpensIt() {
        QFETCH(QByteArray, lineTwenty);
        QFETCH(QString, caption);
        QFETCH(QString, topic);
        QFETCH(bool, page);
        create(lineTwenty);
        viewer->TreeView1->expandItem(node("Libro"));
        viewer->TreeView1->expandItem(nodeWithCaption(viewer->TreeView1, caption));
        QCOMPARE(this->topic(), topic);
        QCOMPARE(shellDouble->calls.size(), size_t(page ? 1 : 0));
        viewer->TreeView1->collapseItem(node("Capítulo 1"));
        QCOMPARE(this->topic(), topic);
    }

    // History and print list start again; bookmarks and annotations stay, so
    // the close writes them back to the title's files.
    void indiceReloadsTheTitleAndItsTree() {
        create();
        viewer->show();
        viewer->Medview1->GoToNextBrowseTopic();
        viewer->Medview1->GoToNextBrowseTopic();
        QCOMPARE(HistoryCount, 3);
        PrintCount = 4;
        BookmarkCount = 2;
        AnnotationCount = 1;
        viewer->ToolButton1->click(); // the pane hidden
        viewer->TreeView1->setCurrentItem(node("Página Dorvik|web"));
        shellDouble->calls.clear();
        folder->scratch().write("prueba.arb", "Portada\r\nNuevo\r\n");
        QTest::mouseClick(viewer->ToolButton3, Qt::LeftButton);
        QCOMPARE(HistoryCount, 1); // the title's first topic, opened again
        QCOMPARE(HistoryPos, 1);
        QCOMPARE(PrintCount, 0);
        QCOMPARE(BookmarkCount, 2);
        QCOMPARE(AnnotationCount, 1);
        QCOMPARE(topic(), QStringLiteral("Portada"));
        QCOMPARE(treeShape(viewer->TreeView1), (QStringList{"0:Portada", "0:Nuevo"}));
        QVERIFY(viewer->TreeView1->isVisible());
        QVERIFY(!viewer->IndexShown);
        QVERIFY(shellDouble->calls.empty()); // replacing the nodes chose nothing
        QCOMPARE(viewer->cursor().shape(), Qt::ArrowCursor);

        QFile::remove(folder->path("prueba.arb"));
        viewer->ToolButton1->click();
        viewer->ToolButton1->click();
        QVERIFY(viewer->TreeView1->isHidden());
        QTest::mouseClick(viewer->ToolButton3, Qt::LeftButton);
        QCOMPARE(treeShape(viewer->TreeView1), (QStringList{"0:Portada", "0:Nuevo"}));
        QVERIFY(viewer->TreeView1->isVisible() && viewer->Splitter1->isVisible());

        // The title file gone: the user is told, and the tree and the text
        // shown stay those of one title.
        folder->scratch().write("prueba.arb", "Otro\r\n");
        QFile::remove(folder->path("prueba.dvk"));
        HistoryCount = 2;
        testsupport::ErrorRecorder errors;
        QTest::mouseClick(viewer->ToolButton3, Qt::LeftButton);
        QCOMPARE(errors.messages,
                 QStringList{QStringLiteral("No se puede abrir el libro %1: el archivo no se "
                                            "encuentra.")
                                 .arg(folder->path("prueba.dvk"))});
        QCOMPARE(treeShape(viewer->TreeView1), (QStringList{"0:Portada", "0:Nuevo"}));
        QCOMPARE(topic(), QStringLiteral("Portada"));
        QCOMPARE(HistoryCount, 2);
    }

    void theBrowseStepsLeaveTheTree() {
        create();
        viewer->TreeView1->setCurrentItem(node("Portada"));
        QTest::mouseClick(viewer->ToolButton13, Qt::LeftButton);
        QCOMPARE(topic(), QStringLiteral("Portada"));
        QTest::mouseClick(viewer->ToolButton14, Qt::LeftButton);
        QTest::mouseClick(viewer->ToolButton14, Qt::LeftButton);
        QCOMPARE(topic(), QStringLiteral("Sección 1.1"));
        QTest::mouseClick(viewer->ToolButton13, Qt::LeftButton);
        QCOMPARE(topic(), QStringLiteral("Capítulo 1"));
        QCOMPARE(viewer->TreeView1->currentItem(), node("Portada"));
    }

    void theBarsButtonsOpenTheirDialogs() {
        create();
        std::vector<std::unique_ptr<TForm>> dialogs;
        for (int code = 2; code <= 10; ++code) {
            dialogs.push_back(std::make_unique<TForm>());
            viewer->RegisterDialog(code, dialogs.back().get());
        }
        viewer->show();
        const std::pair<QToolButton *, int> buttons[] = {
            {viewer->ToolButton9, 2},  {viewer->ToolButton10, 3}, {viewer->ToolButton12, 4},
            {viewer->ToolButton16, 5}, {viewer->ToolButton4, 6},  {viewer->ToolButton5, 7},
            {viewer->ToolButton6, 8},  {viewer->ToolButton7, 9},  {viewer->ToolButton8, 10}};
        for (const auto &[button, code] : buttons) {
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(viewer->DialogCode, code);
            QVERIFY(viewer->DialogForm(code)->isVisible());
        }
        QCOMPARE(viewer->ToolButton9->parentWidget(), viewer->ToolBar1);
        QCOMPARE(viewer->ToolButton4->parentWidget(), viewer->ToolBar2);
        QVERIFY(viewer->ToolBar1->y() < viewer->Panel2->y());
        QVERIFY(viewer->ToolBar2->y() > viewer->Panel2->y());
        QVERIFY(viewer->StatusBar1->y() > viewer->ToolBar2->y());
    }

    // A set-up that stopped early leaves the bars at the top and the bottom,
    // the empty client area between them.
    void withoutItsSetUpTheBarsStayAtTheEdges() {
        viewer = std::make_unique<TformaVisorLinea>(); // no line file: the set-up stops
        formaVisor = viewer.get();
        QVERIFY(!runHandler(viewer->OnCreate));
        viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));
        QVERIFY(!viewer->Panel2->isVisible());
        QCOMPARE(viewer->ToolBar1->y(), 0);
        QCOMPARE(viewer->ToolBar2->geometry().bottom() + 1, viewer->StatusBar1->y());
        QCOMPARE(viewer->StatusBar1->geometry().bottom() + 1, viewer->height());
    }

    // --- Updates and search dialogs ----------------------------------------

    // Beforehand the reader has hidden the index and widened the tree.
    void updatesOpensAChosenTitleWithItsTree_data() {
        QTest::addColumn<QString>("chosen");   // empty: the choice cancelled
        QTest::addColumn<QStringList>("tree"); // empty: the title not opened
        QTest::addColumn<QString>("message");  // <F> stands for the chosen file's folder
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("staysOpen");
        const QString none;
        QTest::newRow("cancelled") << none << QStringList() << none << none << true;
        QTest::newRow("no tree file") << "solo.dvk" << QStringList()
                                      << "El archivo:<F>/solo.arb no se encuentra" << none << false;
        QTest::newRow("with its tree")
            << "otro.dvk" << QStringList{"0:Mareas", "1:Olas"} << none << none << false;
        QTest::newRow("a tree the loader rejects") << "malo.dvk" << QStringList{"0:Uno"} << none
                                                   << "Invalid level (2) for item \"Tres\"" << true;
        const QString noTitle = QStringLiteral(
            "No se puede abrir el libro <F>/%1: el archivo no es un libro o está dañado.");
        QTest::newRow("not a title")
            << "basura.dvk" << QStringList() << none << noTitle.arg("basura.dvk") << true;
    }
    void updatesOpensAChosenTitleWithItsTree() {
        QFETCH(QString, chosen);
        QFETCH(QStringList, tree);
        QFETCH(QString, message);
        QFETCH(QString, error);
        QFETCH(bool, staysOpen);
        const QString other = folder->path("nuevo");
        QVERIFY(QDir().mkpath(other));
        for (const char *name : {"nuevo/otro.dvk", "nuevo/solo.dvk", "nuevo/malo.dvk"})
            QVERIFY(QFile::copy(folder->path("prueba.dvk"), folder->path(name)));
        folder->scratch().write("nuevo/otro.arb", "Mareas\r\n Olas\r\n");
        folder->scratch().write("nuevo/malo.arb", "Uno\r\n\t\tTres\r\n");
        folder->scratch().write("nuevo/basura.dvk", "esto no es un libro\n");
        folder->scratch().write("nuevo/basura.arb", "Mareas\r\n");
        create();
        TformaActualizacionLinea updates;
        QVERIFY(runHandler(updates.OnCreate));
        viewer->RegisterDialog(2, &updates);
        viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));
        const QRect placed = viewer->TreeView1->geometry();
        const QString title = viewer->Medview1->MediaViewTitle();
        const QStringList oldTree = treeShape(viewer->TreeView1);
        QTest::mouseClick(viewer->ToolButton1, Qt::LeftButton);
        viewer->TreeView1->setFixedWidth(250);
        viewer->Medview1->hide();

        opendialog::ScriptedOpenDialog chooser;
        if (!chosen.isEmpty())
            chooser.answer = other + "/" + chosen;
        messagebox::RecordingMessages messages;
        QTest::mouseClick(viewer->ToolButton9, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(&updates));
        QCOMPARE(dialogtest::cutOffTexts(&updates), QStringList());
        QTest::mouseClick(updates.Button3, Qt::LeftButton);

        QCOMPARE(chooser.filters, std::vector<AnsiString>{"Archivos Dorvik (*.dvk)|*.DVK"});
        QCOMPARE(QStringList(messages.texts.begin(), messages.texts.end()),
                 message.isEmpty() ? QStringList() : QStringList{message.replace("<F>", other)});
        QCOMPARE(errors->messages,
                 error.isEmpty() ? QStringList() : QStringList{error.replace("<F>", other)});
        QCOMPARE(updates.isVisible(), staysOpen);
        const bool opened = !tree.isEmpty();
        QCOMPARE(viewer->Medview1->MediaViewTitle(), opened ? other + "/" + chosen : title);
        QCOMPARE(treeShape(viewer->TreeView1), opened ? tree : oldTree);
        QCOMPARE(viewer->TreeView1->isVisible(), opened);
        QCOMPARE(viewer->Splitter1->isVisible(), opened);
        QCOMPARE(viewer->Medview1->isVisible(), opened);
        if (opened)
            QTRY_COMPARE(viewer->TreeView1->geometry(), placed);
        QVERIFY(!viewer->IndexShown);
        QCOMPARE(TitleName, AnsiString("prueba"));
        QVERIFY(shellDouble->calls.empty()); // the new nodes chose nothing
    }

    // A group whose value is empty still has its line, and the line still
    // selects the group by its name.
    void theChaptersShowTheGroupsValues() {
        title::TitleSource source = sampleSource();
        source.topics[1].groups << QStringLiteral("CAP1");
        source.topics[2].groups << QStringLiteral("CAP1");
        source.topics[6].groups << QStringLiteral("CAP2");
        QVERIFY(title::writeTitle(source, folder->path("prueba.dvk")));
        create();
        Groups[1] = {"CAP1", ""};
        Groups[2] = {"CAP2", "Cap\xEDtulo 2"};
        Groups[3] = {};
        TformaBuscarLinea search;
        viewer->RegisterDialog(6, &search);
        viewer->show();
        QTest::mouseClick(viewer->ToolButton4, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(&search));
        QListWidget *chapters = search.CheckListBox1;
        QCOMPARE(chapters->count(), 2);
        QCOMPARE(chapters->item(0)->text(), QString());
        QCOMPARE(chapters->item(1)->text(), QStringLiteral("Capítulo 2"));
        QCOMPARE(chapters->item(0)->checkState(), Qt::Checked);
        QCOMPARE(chapters->item(1)->checkState(), Qt::Checked);
        QCOMPARE(dialogtest::cutOffTexts(&search), QStringList());
        QTest::mouseClick(search.RadioButton2, Qt::LeftButton);
        chapters->item(1)->setCheckState(Qt::Unchecked);
        QTest::keyClicks(search.Edit1, QStringLiteral("zzz"));
        QTest::mouseClick(search.Button1, Qt::LeftButton);
        QCOMPARE(viewer->Medview1->TopicListCount(), 2); // CAP1's two topics
    }

    // --- Hotspots ---------------------------------------------------------

    void theRulesThatDiffer_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("shell"); // <S> stands for StartDir
        QTest::addColumn<QString>("sound");
        QTest::addColumn<bool>("closes");
        QTest::newRow("a title file falls to the annex rule")
            << QByteArray("otro.dvk") << "file://<S>ANEXOS\\otro.dvk"
            << "" << false;
        QTest::newRow("GENERAL.EXE leaves the viewer open")
            << QByteArray("GENERAL.EXE /x") << "GENERAL.EXE /x"
            << "" << false;
        QTest::newRow("sounds under StartDir") << QByteArray("olas.wav") << ""
                                               << "<S>wavs\\olas.wav" << false;
        QTest::newRow("documents under StartDir")
            << QByteArray("carta.doc") << "file://<S>DOC\\carta.doc"
            << "" << false;
        QTest::newRow("SALIDA after the annex rule")
            << QByteArray("salida.txt") << "file://<S>ANEXOS\\salida.txt"
            << "" << true;
    }
    void theRulesThatDiffer() {
        QFETCH(QByteArray, text);
        QFETCH(QString, shell);
        QFETCH(QString, sound);
        QFETCH(bool, closes);
        sound::RecordingSound sounds;
        viewer = std::make_unique<TformaVisorLinea>();
        viewer->StartDir = "/inicio/";
        int closed = 0;
        viewer->OnClose = [&closed] { ++closed; };
        CloseAfterLaunch = true; // the first program's switch has no say here
        clickHotspot(text);
        CloseAfterLaunch = false;
        QStringList launched;
        for (const ShellCall &call : shellDouble->calls)
            launched << ansi::toQt(call.file +
                                   (call.parameters.empty() ? "" : " " + call.parameters));
        const auto expand = [](QString path) { return path.replace("<S>", "/inicio/"); };
        QCOMPARE(launched.join('|'), expand(shell));
        QCOMPARE(sounds.played.empty() ? QString() : ansi::toQt(sounds.played[0]), expand(sound));
        QCOMPARE(closed, closes ? 1 : 0);
    }

    void aJpegShowsCentredAtItsSize_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("24 bits") << 24 << QImage::Format_RGB888;
        QTest::newRow("a 256-colour palette display") << 8 << QImage::Format_Indexed8;
    }
    void aJpegShowsCentredAtItsSize() {
        QFETCH(int, depth);
        QFETCH(QImage::Format, format);
        display::setDepthOverride(depth);
        makePictureViewer();
        writePicture("JPG/foto.jpg", QSize(100, 60), "JPG");
        clickHotspot("foto.jpg");
        display::setDepthOverride(0);
        QVERIFY(errors->messages.isEmpty());
        QVERIFY(FormaTelon->isVisible());
        QVERIFY(viewer->Panel2->isVisibleTo(viewer.get()));
        QCOMPARE(FormaTelon->geometry(), QRect(462, 354, 100, 60));
        const QImage shown = FormaTelon->Image1->Picture();
        QCOMPARE(shown.format(), format);
        if (format == QImage::Format_Indexed8)
            QCOMPARE(shown.colorTable(), viewer->PaletteBitmap.colorTable());
    }

    // "Fotos\" follows the current directory, not StartDir; a picture larger
    // than the screen starts left of it.
    void aBmpComesFromTheCurrentDirectory() {
        makePictureViewer();
        testsupport::ScratchDir elsewhere(true);
        QImage picture(1100, 50, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QDir(elsewhere.path()).mkpath("Fotos");
        picture.save(elsewhere.filePath("Fotos/barca.bmp"), "BMP");
        clickHotspot("barca.bmp");
        QVERIFY(errors->messages.isEmpty());
        QCOMPARE(FormaTelon->geometry(), QRect(-38, 359, 1100, 50));
        QCOMPARE(FormaTelon->Image1->geometry(), QRect(0, 0, 1100, 50));
        QVERIFY(FormaTelon->isVisible());
    }

    // The error ends the click: the later rules do not run, and the window
    // keeps its picture, hidden.
    void aPictureThatFailsChangesNothing() {
        makePictureViewer();
        writePicture("JPG/foto.jpg", QSize(10, 10), "JPG");
        clickHotspot("foto.jpg");
        QTest::mouseClick(FormaTelon, Qt::LeftButton);
        QVERIFY(!FormaTelon->isVisible());
        FormaTelon->Image1->setPicture(QImage(4, 4, QImage::Format_RGB32));
        QVERIFY(clickHotspot("nada.jpg www"));
        QCOMPARE(errors->messages, QStringList{"Unknown picture file extension (.jpg www)"});
        QVERIFY(shellDouble->calls.empty());
        QCOMPARE(FormaTelon->Image1->Picture().size(), QSize(4, 4));
        QVERIFY(!FormaTelon->isVisible());
    }

private:
    std::unique_ptr<TFormaTelon> pictureWindow;

    bool clickHotspot(const QByteArray &text) {
        bool cancel = false;
        emit viewer->Medview1->OnHotspotClicked(0, reinterpret_cast<intptr_t>(text.constData()),
                                                cancel);
        return cancel;
    }
    void makePictureViewer() {
        display::setScreenSizeOverride(QSize(1024, 768));
        viewer = std::make_unique<TformaVisorLinea>();
        formaVisor = viewer.get();
        viewer->StartDir = ansi::fromQt(folder->scratch().path()) + "/";
        QImage palette(2, 2, QImage::Format_Indexed8);
        palette.setColorTable({qRgb(0, 0, 0), qRgb(250, 250, 250)});
        viewer->PaletteBitmap = palette;
        pictureWindow = std::make_unique<TFormaTelon>();
        FormaTelon = pictureWindow.get();
    }
    void writePicture(const QString &name, QSize size, const char *format) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::green);
        QDir(folder->scratch().path()).mkpath(QFileInfo(name).path());
        picture.save(folder->path(name), format);
    }
};

QTEST_MAIN(TestLineaVisor)
#include "test_linea_visor.moc"
