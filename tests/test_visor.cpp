// The viewer window: its controls, the creation steps and where a failing
// step stops them, the contents tree and its selection, and the tree lookup.

#include "arbol.h"
#include "shell.h"
#include "visor_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

using namespace visortest;

class TestVisor : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { formaVisor = nullptr; }

    void theWindowAndItsControls() {
        TitleFolder folder;
        folder.writeAll();
        auto viewer = createViewer();
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Dezezi Dorvik Ver 1.2"));
        QCOMPARE(viewer->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(viewer->windowState() & Qt::WindowMaximized);
        QCOMPARE(viewer->Button5->text(), QStringLiteral("PoPup"));
        QVERIFY(viewer->Button5->isHidden());
        QCOMPARE(viewer->ayudaEnLinea->text(), QStringLiteral("ayudaEnLinea"));
        QVERIFY(viewer->ayudaEnLinea->font().underline());
        QVERIFY(viewer->ayudaEnLinea->isHidden());
        QCOMPARE(viewer->Splitter1->width(), 4);
        QCOMPARE(viewer->Splitter1->cursor().shape(), Qt::SizeHorCursor);
        QCOMPARE(viewer->Splitter1->palette().color(QPalette::Window), QColor(0x80, 0, 0));
        QVERIFY(viewer->TreeView1->isHeaderHidden());
        QCOMPARE(viewer->TreeView1->indentation(), 19);
        QCOMPARE(viewer->TreeView1->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(viewer->ImageList1.size(), 3);
        const auto panels = viewer->StatusBar1->findChildren<QLabel *>();
        QCOMPARE(panels.size(), 1);
        QCOMPARE(panels[0]->text(), QStringLiteral("General Dezezi"));
        QCOMPARE(viewer->videoTimer->interval(), 1000);
        QVERIFY(viewer->videoTimer->isActive());

        viewer->show();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.get()));
        QCOMPARE(viewer->normalGeometry(), QRect(0, 0, 640, 480));
        QCOMPARE(viewer->ToolBar1->geometry().top(), 0);
        QVERIFY(viewer->Panel2->geometry().top() >= viewer->ToolBar1->geometry().bottom());
        QVERIFY(viewer->StatusBar1->geometry().top() >= viewer->Panel2->geometry().bottom());
        QCOMPARE(viewer->TreeView1->width(), 178);
        QVERIFY(viewer->Splitter1->geometry().left() >= viewer->TreeView1->geometry().right());
        QVERIFY(viewer->Medview1->geometry().left() >= viewer->Splitter1->geometry().right());
    }

    void aCompleteStart() {
        TitleFolder folder;
        folder.writeAll();
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages, QStringList());
        QVERIFY(!viewer->PaletteBitmap.isNull());
        QCOMPARE(viewer->DialogCode, 0);
        QCOMPARE(WindowsDir, ansi::fromQt(folder.scratch().path()));
        QCOMPARE(viewer->Medview1->SRLeftMargin(), 0.0f);
        QCOMPARE(viewer->Medview1->BackColorSR(), 0xFFFFFFu);
        QCOMPARE(viewer->Medview1->BackColorNSR(), 0xFFFFFFu);
        QCOMPARE(viewer->Medview1->BackColorPopup(), 0xFFu);
        QVERIFY(viewer->IndexShown);
        QVERIFY(!viewer->LoadingTree);
        QVERIFY(!viewer->TreeView1->isHidden());
        QVERIFY(!viewer->Splitter1->isHidden());
        QCOMPARE(viewer->TreeView1->topLevelItemCount(), 4);
        QCOMPARE(viewer->Medview1->MediaViewTitle(), folder.path(QStringLiteral("prueba.dvk")));
        QVERIFY(viewer->Medview1->HTITLE() != 0);
        QCOMPARE(viewer->Medview1->TopicData(), QStringLiteral("PORTADA"));
        QCOMPARE(Groups[1].Name, AnsiString("CAP1"));
        QVERIFY(!viewer->Medview1->isHidden());
        QVERIFY(!viewer->Panel2->isHidden());
        QVERIFY(!viewer->ToolBar1->isHidden());
        QVERIFY(viewer->isHidden());
    }

    // A start title file that is no title is named in the error box once the
    // window is laid out; the viewer stays usable with its tree.
    void aStartTitleThatCannotBeOpenedIsNamed() {
        TitleFolder folder;
        folder.writePalette();
        folder.writeIni(sampleIni());
        folder.writeArk(sampleArk());
        folder.scratch().write(QStringLiteral("prueba.dvk"), "esto no es un libro\n");
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages,
                 QStringList{QStringLiteral("No se puede abrir el libro %1: el "
                                            "archivo no es un libro o está dañado.")
                                 .arg(folder.path(QStringLiteral("prueba.dvk")))});
        QCOMPARE(viewer->Medview1->HTITLE(), intptr_t(0));
        QVERIFY(!viewer->Panel2->isHidden());
        QVERIFY(!viewer->TreeView1->isHidden());
    }

    void theTreeCarriesCaptionsTopicsAndImages() {
        TitleFolder folder;
        folder.writeAll();
        auto viewer = createViewer();
        QTreeWidgetItem *chapter = nodeWithCaption(viewer->TreeView1, QStringLiteral("Capítulo 1"));
        QVERIFY(chapter);
        QCOMPARE(chapter->childCount(), 3);
        QCOMPARE(viewer->NodeTopic(chapter), AnsiString("CAP1"));
        QCOMPARE(chapter->data(0, arbol::kImageIndexRole).toInt(), 0);
        QTreeWidgetItem *section = chapter->child(0);
        QCOMPARE(section->text(0), QStringLiteral("Sección 1.1"));
        QCOMPARE(section->data(0, arbol::kImageIndexRole).toInt(), 1);
        QCOMPARE(section->data(0, arbol::kSelectedIndexRole).toInt(), 2);
        QCOMPARE(viewer->NodeTopic(chapter->child(1)), AnsiString());
        QCOMPARE(viewer->NodeTopic(chapter->child(2)),
                 AnsiString("CONTEXTO_DE_TREINTA_Y_CINCO_LE"));
    }

    void aMissingPaletteStopsEverything() {
        TitleFolder folder;
        folder.writeIni(sampleIni());
        folder.writeArk(sampleArk());
        folder.writeTitle();
        WindowsDir = "antes";
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages,
                 QStringList{QStringLiteral("Cannot open file ") + ansi::toQt(BaseDir) +
                             QStringLiteral("util/paleta.bmp")}); // as the system has it
        QCOMPARE(WindowsDir, AnsiString("antes"));
        QCOMPARE(viewer->TreeView1->topLevelItemCount(), 0);
        QVERIFY(viewer->TreeView1->isHidden());
        QCOMPARE(viewer->Medview1->HTITLE(), intptr_t(0));
        QVERIFY(viewer->Panel2->isHidden());
    }

    void anInvalidPaletteStopsEverything() {
        TitleFolder folder;
        folder.writeAll();
        folder.scratch().write(QStringLiteral("util/paleta.bmp"), "no es un mapa de bits");
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages, QStringList{QStringLiteral("Bitmap image is not valid")});
        QCOMPARE(viewer->Medview1->HTITLE(), intptr_t(0));
    }

    void aBadColourStopsBeforeTheTree() {
        TitleFolder folder;
        folder.writeAll();
        folder.writeIni("[prueba]\r\nlinea17=#FFFFFF\r\nlinea18=0\r\nlinea19=0\r\n");
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages,
                 QStringList{QStringLiteral("'#FFFFFF' is not a valid integer value")});
        QCOMPARE(WindowsDir, ansi::fromQt(folder.scratch().path()));
        QCOMPARE(viewer->TreeView1->topLevelItemCount(), 0);
        QVERIFY(viewer->TreeView1->isHidden());
        QVERIFY(viewer->Splitter1->isHidden());
        QCOMPARE(viewer->Medview1->HTITLE(), intptr_t(0));
        QVERIFY(viewer->Panel2->isHidden());
    }

    void theColoursAreSetInOrderUntilOneFails() {
        TitleFolder folder;
        folder.writeAll();
        folder.writeIni("[PRUEBA]\r\nLINEA17=  -1\r\nlinea18=12abc\r\nlinea19=0\r\n");
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages,
                 QStringList{QStringLiteral("'12abc' is not a valid integer value")});
        QCOMPARE(viewer->Medview1->BackColorSR(), 0xFFFFFFFFu);
        QCOMPARE(viewer->Medview1->BackColorNSR(), 0xFFFFFFu); // the control's own
    }

    void colourValuesTakeTheLow32Bits() {
        TitleFolder folder;
        folder.writeAll();
        folder.writeIni("[prueba]\r\nlinea17=+255\r\nlinea18=$1FF0000FF\r\nlinea19=0x0000FF00\r\n");
        auto viewer = createViewer();
        QCOMPARE(viewer->Medview1->BackColorSR(), 255u);
        QCOMPARE(viewer->Medview1->BackColorNSR(), 0xFF0000FFu);
        QCOMPARE(viewer->Medview1->BackColorPopup(), 0xFF00u);
    }

    void withoutSettingsTheFirstColourFails() {
        TitleFolder folder;
        folder.writePalette();
        folder.writeArk(sampleArk());
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages, QStringList{QStringLiteral("'' is not a valid integer value")});
        QCOMPARE(viewer->TreeView1->topLevelItemCount(), 0);
    }

    void aLevelJumpInTheTreeStopsAtTheTree() {
        TitleFolder folder;
        folder.writeAll();
        folder.writeArk("Portada|PORTADA\r\nP\xE1gina Dorvik|ANEXO\r\n\t\tHondo|CAP1\r\n");
        testsupport::ErrorRecorder errors;
        shell::RecordingShell shell;
        auto viewer = createViewer();
        QCOMPARE(errors.messages,
                 QStringList{QStringLiteral("Invalid level (2) for item \"Hondo|CAP1\"")});
        QVERIFY(viewer->TreeView1->isHidden());
        QVERIFY(viewer->Splitter1->isHidden());
        QVERIFY(viewer->LoadingTree);
        QCOMPARE(viewer->Medview1->HTITLE(), intptr_t(0));
        QVERIFY(viewer->Panel2->isHidden());
        // Change events are ignored from then on.
        const auto nodes = arbol::nodesInIndexOrder(viewer->TreeView1);
        QCOMPARE(int(nodes.size()), 2);
        viewer->TreeView1->setCurrentItem(nodes[1]);
        QVERIFY(shell.calls.empty());
        QVERIFY(errors.messages.size() == 1);
    }

    void withoutATreeThePaneStaysHidden() {
        TitleFolder folder;
        folder.writePalette();
        folder.writeIni(sampleIni());
        folder.writeTitle();
        testsupport::ErrorRecorder errors;
        auto viewer = createViewer();
        QCOMPARE(errors.messages, QStringList());
        QVERIFY(viewer->TreeView1->isHidden());
        QVERIFY(viewer->Splitter1->isHidden());
        QVERIFY(viewer->IndexShown);
        QVERIFY(!viewer->LoadingTree);
        QVERIFY(viewer->Medview1->HTITLE() != 0);
        QVERIFY(!viewer->Panel2->isHidden());
    }

    void theTitleFileIsFoundWithoutRegardToCase() {
        TitleFolder folder;
        folder.writeAll();
        QFile::rename(folder.path(QStringLiteral("prueba.dvk")),
                      folder.path(QStringLiteral("PRUEBA.DVK")));
        auto viewer = createViewer();
        QCOMPARE(viewer->Medview1->MediaViewTitle(), folder.path(QStringLiteral("PRUEBA.DVK")));
        QVERIFY(viewer->Medview1->HTITLE() != 0);
    }

    void aSecondArgumentOpensItsTopic() {
        TitleFolder folder;
        folder.writeAll();
        SetCommandLine(
            {QStringLiteral("LectorDorvik"), QStringLiteral("prueba"), QStringLiteral("CAP2")});
        QCOMPARE(createViewer()->Medview1->TopicData(), QStringLiteral("CAP2"));
        SetCommandLine({QStringLiteral("LectorDorvik"), QStringLiteral("prueba"),
                        QStringLiteral("CAP2"), QStringLiteral("x")});
        QCOMPARE(createViewer()->Medview1->TopicData(), QStringLiteral("PORTADA"));
    }

    // The tree takes the focus when the viewer is first activated; focus alone
    // chooses no node, so the start topic stays.
    void showingTheViewerKeepsTheStartTopic_data() {
        QTest::addColumn<QByteArray>("ark");
        QTest::newRow("first node another topic")
            << QByteArray("Cap\xEDtulo 2|CAP2\r\nUno|CAP1\r\n");
        QTest::newRow("first node the Dorvik page")
            << QByteArray("P\xE1gina Dorvik|ANEXO\r\nUno|CAP1\r\n");
    }

    void showingTheViewerKeepsTheStartTopic() {
        QFETCH(QByteArray, ark);
        TitleFolder folder;
        folder.writeAll();
        folder.writeArk(ark);
        SetCommandLine(
            {QStringLiteral("LectorDorvik"), QStringLiteral("prueba"), QStringLiteral("CAP1")});
        shell::RecordingShell shell;
        auto viewer = createViewer();
        const int recorded = HistoryCount;
        viewer->show();
        viewer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(viewer.get()));
        QTRY_COMPARE(QApplication::focusWidget(), viewer->TreeView1);
        QCOMPARE(viewer->Medview1->TopicData(), QStringLiteral("CAP1"));
        QCOMPARE(HistoryCount, recorded);
        QVERIFY(shell.calls.empty());
    }

    void onlyExactlySiHidesTheToolBar() {
        TitleFolder folder;
        folder.writeAll();
        for (const char *value : {"si", "Si", "SIN", "NO", ""}) {
            folder.writeIni(sampleIni(QByteArray("linea21=") + value + "\r\n"));
            QVERIFY2(!createViewer()->ToolBar1->isHidden(), value);
        }
        folder.writeIni(sampleIni("linea21=SI\r\n"));
        QVERIFY(createViewer()->ToolBar1->isHidden());
    }

    void choosingANodeOpensItsTopic() {
        TitleFolder folder;
        folder.writeAll();
        shell::RecordingShell shell;
        auto viewer = createViewer();
        QTreeWidget *tree = viewer->TreeView1;
        tree->setCurrentItem(nodeWithCaption(tree, QStringLiteral("Capítulo 2")));
        QCOMPARE(viewer->Medview1->TopicData(), QStringLiteral("CAP2"));
        const int recorded = HistoryCount;

        // A node without a topic does nothing.
        tree->setCurrentItem(nodeWithCaption(tree, QStringLiteral("Sin tema")));
        QCOMPARE(viewer->Medview1->TopicData(), QStringLiteral("CAP2"));
        QCOMPARE(HistoryCount, recorded);

        // Choosing the node already chosen is no change.
        tree->setCurrentItem(nodeWithCaption(tree, QStringLiteral("Sección 1.1")));
        const int afterSection = HistoryCount;
        tree->setCurrentItem(nodeWithCaption(tree, QStringLiteral("Sección 1.1")));
        QCOMPARE(HistoryCount, afterSection);
        QVERIFY(shell.calls.empty());
    }

    void theDorvikPageOpensInsteadOfTheTopic() {
        TitleFolder folder;
        folder.writeAll();
        shell::RecordingShell shell;
        auto viewer = createViewer();
        viewer->TreeView1->setCurrentItem(
            nodeWithCaption(viewer->TreeView1, QStringLiteral("Página Dorvik en la red")));
        QCOMPARE(int(shell.calls.size()), 1);
        const ShellCall &call = shell.calls[0];
        QCOMPARE(call.owner, viewer.get());
        QCOMPARE(call.verb, AnsiString());
        QCOMPARE(call.file,
                 "file://" + BaseDir.substr(0, BaseDir.size() - 1) + "/dorvik/index.htm");
        QCOMPARE(call.parameters, AnsiString());
        QCOMPARE(call.directory, AnsiString());
        QCOMPARE(call.showCommand, SW_SHOWMAXIMIZED);
        QCOMPARE(viewer->Medview1->TopicData(), QStringLiteral("PORTADA"));
    }

    void theDorvikPageAddressHasNoLengthLimit() {
        const AnsiString longBase = "/" + AnsiString(300, 'd') + "\\sub\\";
        QCOMPARE(TformaVisor::DorvikPageAddress(longBase),
                 "file:///" + AnsiString(300, 'd') + "\\sub/dorvik/index.htm");
        QCOMPARE(TformaVisor::DorvikPageAddress("C:\\LIBRO\\"),
                 AnsiString("file://C:\\LIBRO/dorvik/index.htm"));
    }

    void findTreeNodeByDataTakesTheFirstExactMatch() {
        TitleFolder folder;
        folder.writeAll();
        folder.writeArk("A|UNO\r\n\tB|DOS\r\nC|DOS\r\nD|" + QByteArray(40, 'x') + "\r\nE\r\n");
        auto viewer = createViewer();
        QTreeWidget *tree = viewer->TreeView1;
        QCOMPARE(viewer->FindTreeNodeByData("DOS"), nodeWithCaption(tree, QStringLiteral("B")));
        QCOMPARE(viewer->FindTreeNodeByData("UNO"), nodeWithCaption(tree, QStringLiteral("A")));
        QCOMPARE(viewer->FindTreeNodeByData("uno"), nullptr);
        QCOMPARE(viewer->FindTreeNodeByData("UNO "), nullptr);
        QCOMPARE(viewer->FindTreeNodeByData(AnsiString(40, 'x')), nullptr);
        QCOMPARE(viewer->FindTreeNodeByData(AnsiString(30, 'x')),
                 nodeWithCaption(tree, QStringLiteral("D")));
        tree->clear();
        QCOMPARE(viewer->FindTreeNodeByData("UNO"), nullptr);
    }

    void destructionFreesThePaletteAndTopicBlocks() {
        TitleFolder folder;
        folder.writeAll();
        auto viewer = createViewer();
        runHandler(viewer->OnDestroy);
        QVERIFY(viewer->PaletteBitmap.isNull());
        for (QTreeWidgetItem *node : arbol::nodesInIndexOrder(viewer->TreeView1))
            QCOMPARE(viewer->NodeTopic(node), AnsiString());
    }

    void mouseMoveOverTheTreeRestoresTheCursor() {
        TitleFolder folder;
        folder.writeAll();
        auto viewer = createViewer();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        viewer->TreeView1MouseMove();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestVisor)
#include "test_visor.moc"
