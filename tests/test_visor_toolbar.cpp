// The viewer's tool bar: its buttons, the dialog protocol, the browse steps
// with the tree's re-selection, history back and the contents-pane toggle.

#include "dialogform.h"
#include "dialogsupport.h"
#include "formaentrada.h"
#include "sound.h"
#include "test_medview_fixture.h"
#include "visor_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

using namespace visortest;

namespace {

struct DialogEntry {
    int code;
    const char *caption;
};

const DialogEntry kDialogs[] = {
    {2, "Actualizaciones"},
    {3, "Recorrido"},
    {4, "Seleccionar marcas del libro"},
    {5, "Preferencias"},
    {6, "Buscar frases o palabras"},
    {7, "Contenido del portapapeles"},
    {8, "Añadir anotaciones "},
    {9, "Definir marcas en el libro"},
    {10, "Marque páginas para imprimir"},
    {11, "Resultados de la búsqueda"},
};

// A dialog that counts its activations, each through the dialogs' own
// activation handler.
class CountingDialog : public TDialogForm {
public:
    CountingDialog(const QString &caption, int &activations)
        : TDialogForm(caption, 100, 100, 200, 100), activations_(activations) {}
    void FormActivate() override { ++activations_; }

private:
    int &activations_;
};

// A click as the window system delivers it, so that an open pop-up sees it
// first, wherever it lands.
void systemClick(QWidget *widget, QPoint at) {
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, at));
}

} // namespace

class TestVisorToolBar : public QObject, ViewerTest {
    Q_OBJECT

private:
    std::map<int, std::unique_ptr<TDialogForm>> dialogs_;
    std::map<int, int> activations_;

    TDialogForm *dialog(int code) { return dialogs_.at(code).get(); }
    QString caption(QTreeWidgetItem *node) {
        return node ? node->text(0) : QStringLiteral("<none>");
    }
    QString selected() { return caption(viewer_->TreeView1->currentItem()); }
    QString topic() { return viewer_->Medview1->TopicData(); }

    void activateViewer() {
        viewer_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(viewer_.get()));
    }

    // Delivers what the last events set off: paints, the raise a paint
    // schedules, and the activation a raise asks the window system for.
    static void settleEvents() {
        for (int round = 0; round < 5; ++round)
            QCoreApplication::processEvents();
    }

private slots:
    void init() {
        writeFolder();
        viewer_ = createViewer();
        activations_.clear();
        for (const DialogEntry &entry : kDialogs) {
            auto form = std::make_unique<CountingDialog>(QString::fromUtf8(entry.caption),
                                                         activations_[entry.code]);
            viewer_->RegisterDialog(entry.code, form.get());
            dialogs_[entry.code] = std::move(form);
        }
    }

    void cleanup() {
        dialogs_.clear();
        destroyViewerAndFolder();
    }

    void theFourteenButtons() {
        const QStringList hints{QStringLiteral("Pantalla completa"),
                                QStringLiteral("Recorrido"),
                                QStringLiteral("Ir al inicio del libro"),
                                QStringLiteral("Anterior"),
                                QStringLiteral("Siguiente"),
                                QStringLiteral("Volver"),
                                QStringLiteral("Tamaño de fuente"),
                                QStringLiteral("Marcar"),
                                QStringLiteral("Ver marcas"),
                                QStringLiteral("Copiar"),
                                QStringLiteral("Buscar"),
                                QStringLiteral("Anotar"),
                                QStringLiteral("Imprimir"),
                                QStringLiteral("Salida")};
        const QList<int> images{7, 9, 5, 3, 2, 0, 4, 9, 6, 12, 11, 14, 13, 10};
        const QList<QToolButton *> named{
            viewer_->ToolButton1,  viewer_->ToolButton10, viewer_->ToolButton11,
            viewer_->ToolButton12, viewer_->ToolButton13, viewer_->ToolButton14,
            viewer_->ToolButton15, viewer_->ToolButton16, viewer_->ToolButton17,
            viewer_->ToolButton18, viewer_->ToolButton9,  viewer_->ToolButton19,
            viewer_->ToolButton20, viewer_->ToolButton21};
        QList<QToolButton *> inOrder;
        for (QAction *action : viewer_->ToolBar1->actions())
            inOrder << qobject_cast<QToolButton *>(viewer_->ToolBar1->widgetForAction(action));
        QCOMPARE(inOrder, named);
        for (int i = 0; i < named.size(); ++i) {
            QCOMPARE(named[i]->toolTip(), hints[i]);
            QCOMPARE(named[i]->accessibleName(), hints[i]);
            QCOMPARE(named[i]->property("ImageIndex").toInt(), images[i]);
            QVERIFY2(!named[i]->icon().pixmap(24).isNull(), qPrintable(hints[i]));
            QVERIFY(named[i]->autoRaise());
            QCOMPARE(named[i]->size(), QSize(39, 31));
        }
        QCOMPARE(viewer_->ToolBar1->height(), 41);
    }

    void everyButtonOpensItsDialog() {
        const std::vector<std::pair<QToolButton *, int>> buttons{
            {viewer_->ToolButton10, 3}, {viewer_->ToolButton15, 5}, {viewer_->ToolButton16, 9},
            {viewer_->ToolButton17, 4}, {viewer_->ToolButton18, 7}, {viewer_->ToolButton9, 6},
            {viewer_->ToolButton19, 8}, {viewer_->ToolButton20, 10}};
        showViewer();
        for (const auto &[button, code] : buttons) {
            viewer_->ayudaEnLinea->show();
            button->click();
            QCOMPARE(viewer_->DialogCode, code);
            QVERIFY(dialog(code)->isVisible());
            QVERIFY(viewer_->ayudaEnLinea->isHidden());
            QVERIFY(viewer_->isEnabled());
            dialog(code)->close();
            QCOMPARE(viewer_->DialogCode, 0);
            QVERIFY(!dialog(code)->isVisible());
        }
    }

    void theCommonCloseReenablesTheViewer() {
        for (const DialogEntry &entry : kDialogs) {
            viewer_->setEnabled(false);
            viewer_->DialogCode = entry.code;
            dialog(entry.code)->show();
            QVERIFY(dialog(entry.code)->close());
            QVERIFY(viewer_->isEnabled());
            QCOMPARE(viewer_->DialogCode, 0);
            QCOMPARE(dialog(entry.code)->windowTitle(), QString::fromUtf8(entry.caption));
        }
    }

    void aSecondDialogReplacesTheCode() {
        showViewer();
        viewer_->ToolButton9->click();  // Buscar
        viewer_->ToolButton18->click(); // Copiar
        QCOMPARE(viewer_->DialogCode, 7);
        QTRY_COMPARE(QApplication::activeWindow(), dialog(7));
        dialog(6)->close();
        QCOMPARE(viewer_->DialogCode, 0);
        QVERIFY(dialog(7)->isVisible());
        // Copiar is no longer raised when the viewer is activated.
        activateViewer();
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), viewer_.get());
    }

    void theResultsAreNotRaisedAfterTheSearchCloses() {
        showViewer();
        viewer_->ToolButton9->click();
        viewer_->DialogCode = 11; // the search opens its results
        dialog(11)->show();
        dialog(6)->close();
        QCOMPARE(viewer_->DialogCode, 0);
        activateViewer();
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), viewer_.get());
    }

    void activatingTheViewerRaisesTheOpenDialog() {
        showViewer();
        viewer_->ToolButton17->click(); // Ver marcas
        QTRY_COMPARE(QApplication::activeWindow(), dialog(4));
        const int before = activations_[4];
        // The viewer's activation hands the activation straight back.
        viewer_->activateWindow();
        QTRY_VERIFY(activations_[4] > before);
        QTRY_COMPARE(QApplication::activeWindow(), dialog(4));
    }

    void openingAnOpenDialogShowsItAgain() {
        showViewer();
        viewer_->ToolButton19->click(); // Anotar
        viewer_->DialogCode = 0;
        activateViewer();
        viewer_->ToolButton19->click();
        QCOMPARE(viewer_->DialogCode, 8);
        QTRY_COMPARE(QApplication::activeWindow(), dialog(8));
    }

    void paintingRaisesOnceAndDoesNotLoop() {
        showViewer();
        viewer_->ToolButton20->click(); // Imprimir
        QTRY_COMPARE(QApplication::activeWindow(), dialog(10));
        const int before = activations_[10];
        // Many paints while the dialog is in front raise nothing more.
        for (int i = 0; i < 100; ++i)
            viewer_->FormPaint();
        QTest::qWait(50);
        QCOMPARE(activations_[10], before);
        QCOMPARE(QApplication::activeWindow(), dialog(10));
    }

    // While another dialog is active, moved across the viewer, the viewer's
    // paints and exposes raise nothing: that dialog keeps the keyboard and
    // nothing is activated afresh.
    void whileAnotherWindowIsActiveNothingIsRaised() {
        showViewer();
        viewer_->ToolButton19->click(); // Anotar
        viewer_->ToolButton16->click(); // Marcar: the code held is 9
        QTRY_COMPARE(QApplication::activeWindow(), dialog(9));
        QVERIFY(dialogtest::activate(dialog(8)));
        const std::map<int, int> before = activations_;
        for (int step = 0; step < 10; ++step) {
            QExposeEvent expose(QRegion(viewer_->rect()));
            QCoreApplication::sendEvent(viewer_->windowHandle(), &expose);
            viewer_->repaint();
            settleEvents();
        }
        QCOMPARE(QApplication::activeWindow(), dialog(8));
        QCOMPARE(activations_, before);
    }

    // A minimised dialog comes back, at its size, when its button is pressed
    // again (the raise step brings it back the same way).
    void aMinimisedDialogComesBack() {
        showViewer();
        viewer_->ToolButton9->click(); // Buscar
        QTRY_COMPARE(QApplication::activeWindow(), dialog(6));
        dialog(6)->showMinimized();
        QTRY_VERIFY(dialog(6)->isMinimized());
        viewer_->ToolButton9->click();
        QTRY_VERIFY(!dialog(6)->isMinimized());
        QTRY_COMPARE(QApplication::activeWindow(), dialog(6));
    }

    void onlyCodesTwoToElevenAreRaised() {
        showViewer();
        dialog(2)->show();
        activateViewer();
        for (const int code : {0, 1, -1, 12}) {
            viewer_->DialogCode = code;
            viewer_->FormActivate();
            viewer_->FormPaint();
            QTest::qWait(20);
            QCOMPARE(QApplication::activeWindow(), viewer_.get());
        }
        viewer_->DialogCode = 2; // only the second program opens it; the raise still names it
        viewer_->FormActivate();
        QTRY_COMPARE(QApplication::activeWindow(), dialog(2));
    }

    void browseStepsReselectTheTree() {
        QCOMPARE(topic(), QStringLiteral("PORTADA"));
        viewer_->ToolButton12->click(); // nothing before the first topic
        QCOMPARE(topic(), QStringLiteral("PORTADA"));
        QCOMPARE(selected(), QStringLiteral("<none>"));

        const std::vector<std::pair<QString, QString>> steps{
            {QStringLiteral("CAP1"), QStringLiteral("Capítulo 1")},
            {QStringLiteral("CAP1A"), QStringLiteral("Sección 1.1")},
            {QString(), QStringLiteral("Sección 1.1")},            // no context string
            {QStringLiteral("CONTEXTO_DE_TREINTA_Y_CINCO_LETRAS"), // node data is cut to 30
             QStringLiteral("Sección 1.1")},
            {QStringLiteral("NOARBOL"), QStringLiteral("Sección 1.1")}, // in no node
            {QStringLiteral("CAP2"), QStringLiteral("Capítulo 2")},
            {QStringLiteral("CAP2"), QStringLiteral("Capítulo 2")}, // no next topic
        };
        for (const auto &[expectedTopic, expectedNode] : steps) {
            viewer_->ToolButton13->click();
            QCOMPARE(topic(), expectedTopic);
            QCOMPARE(selected(), expectedNode);
        }
        viewer_->ToolButton12->click();
        QCOMPARE(topic(), QStringLiteral("NOARBOL"));
        QCOMPARE(selected(), QStringLiteral("Capítulo 2"));
    }

    void aStepToTheSelectedNodesTopicSelectsNothing() {
        QTreeWidget *tree = viewer_->TreeView1;
        tree->setCurrentItem(nodeWithCaption(tree, QStringLiteral("Capítulo 1")));
        viewer_->ToolButton11->click(); // the first topic; the tree stays
        QCOMPARE(topic(), QStringLiteral("PORTADA"));
        QCOMPARE(selected(), QStringLiteral("Capítulo 1"));
        QSignalSpy changes(tree, &QTreeWidget::currentItemChanged);
        const int recorded = HistoryCount;
        viewer_->ToolButton13->click();
        QCOMPARE(topic(), QStringLiteral("CAP1"));
        QCOMPARE(changes.count(), 0);
        QCOMPARE(HistoryCount, recorded + 1);
        viewer_->ToolButton13->click();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(selected(), QStringLiteral("Sección 1.1"));
    }

    void volverGoesBackWithoutMovingTheTree() {
        QTreeWidget *tree = viewer_->TreeView1;
        tree->setCurrentItem(nodeWithCaption(tree, QStringLiteral("Capítulo 1")));
        tree->setCurrentItem(nodeWithCaption(tree, QStringLiteral("Capítulo 2")));
        QCOMPARE(topic(), QStringLiteral("CAP2"));
        viewer_->ToolButton14->click();
        QCOMPARE(topic(), QStringLiteral("CAP1"));
        QCOMPARE(selected(), QStringLiteral("Capítulo 2"));
        viewer_->ToolButton14->click();
        QCOMPARE(topic(), QStringLiteral("PORTADA"));
        viewer_->ToolButton14->click(); // nothing before the first entry
        QCOMPARE(topic(), QStringLiteral("PORTADA"));
        QCOMPARE(selected(), QStringLiteral("Capítulo 2"));
    }

    void everyTopicChangeIsRecorded() {
        QCOMPARE(HistoryCount, 1);
        QCOMPARE(History[1].Topic, AnsiString("Portada"));
        viewer_->Medview1->OpenTopicByContext(QStringLiteral("CAP2"));
        QCOMPARE(HistoryCount, 2);
        QCOMPARE(History[2].Topic, AnsiString("Cap\xEDtulo 2"));
        QCOMPARE(HistoryPos, 2);
    }

    void theToggleHidesAndShowsThePane() {
        showViewer();
        viewer_->ToolButton1->click();
        QVERIFY(!viewer_->IndexShown);
        QVERIFY(viewer_->TreeView1->isHidden());
        QVERIFY(viewer_->Splitter1->isHidden());
        QCOMPARE(viewer_->ToolButton1->toolTip(), QStringLiteral("Pantalla con índice"));
        QCOMPARE(viewer_->ToolButton1->accessibleName(), QStringLiteral("Pantalla con índice"));
        viewer_->ToolButton1->click();
        QVERIFY(viewer_->IndexShown);
        QVERIFY(viewer_->TreeView1->isVisible());
        QVERIFY(viewer_->Splitter1->isVisible());
        QCOMPARE(viewer_->Splitter1->x(), viewer_->TreeView1->geometry().right() + 1);
        QCOMPARE(viewer_->ToolButton1->toolTip(), QStringLiteral("Pantalla completa"));
    }

    void withoutATreeTheToggleShowsAnEmptyPaneSecond() {
        viewer_.reset();
        QFile::remove(folder_->path(QStringLiteral("prueba.ark")));
        viewer_ = createViewer();
        QVERIFY(viewer_->TreeView1->isHidden());
        viewer_->ToolButton1->click();
        QVERIFY(viewer_->TreeView1->isHidden());
        QCOMPARE(viewer_->ToolButton1->toolTip(), QStringLiteral("Pantalla con índice"));
        viewer_->ToolButton1->click();
        QVERIFY(!viewer_->TreeView1->isHidden());
        QVERIFY(!viewer_->Splitter1->isHidden());
        QCOMPARE(viewer_->TreeView1->topLevelItemCount(), 0);
        QCOMPARE(viewer_->ToolButton1->toolTip(), QStringLiteral("Pantalla completa"));
    }

    void draggingTheSplitterSizesTheTree() {
        showViewer();
        QWidget *splitter = viewer_->Splitter1;
        QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(2, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(62, 10), splitter->mapToGlobal(QPointF(62, 10)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(splitter, &move);
        QTest::mouseRelease(splitter, Qt::LeftButton, {}, QPoint(62, 10));
        QCOMPARE(viewer_->TreeView1->width(), 178 + 60);
    }

    void clicksOnTheBarTheTreeAndTheTextCutTheSound() {
        showViewer();
        sound::RecordingSound sounds;
        QTest::mouseClick(viewer_->ToolBar1, Qt::LeftButton, {},
                          QPoint(viewer_->ToolBar1->width() - 5, 20));
        QTest::mouseClick(viewer_->TreeView1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        emit viewer_->Medview1->OnMouseDownSR(1, 0, 5, 5);
        QCOMPARE(int(sounds.played.size()), 3);
        for (const AnsiString &played : sounds.played)
            QCOMPARE(played, BaseDir + "wavs\\silencio.wav");
        // A click on a button is the button's, not the bar's.
        viewer_->ayudaEnLinea->show();
        QTest::mouseClick(viewer_->ToolButton15, Qt::LeftButton);
        QCOMPARE(int(sounds.played.size()), 3);
        QCOMPARE(viewer_->DialogCode, 5);
    }

    // A pop-up takes every click and key while it is open, so it must close
    // on the next one and hand the viewer back at once.
    void aPopupClosesAndFreesTheViewer_data() {
        QTest::addColumn<QString>("closing");
        QTest::newRow("click elsewhere") << QStringLiteral("elsewhere");
        QTest::newRow("click inside") << QStringLiteral("inside");
        QTest::newRow("Escape") << QStringLiteral("Escape");
    }

    void aPopupClosesAndFreesTheViewer() {
        QFETCH(QString, closing);
        showViewer();
        activateViewer();
        FormEntrada = nullptr;
        QTextBrowser *text = medviewtest::body(*viewer_->Medview1);
        const auto linkAt = [text](const char *href) {
            return medviewtest::anchorPoint(text, QString::fromLatin1(href));
        };
        systemClick(text->viewport(), linkAt("popup:ANEXO"));
        QTextBrowser *popup = nullptr;
        QTRY_VERIFY((popup = medviewtest::popup(*viewer_->Medview1)) && popup->isVisible());
        QVERIFY(popup->toPlainText().contains(QStringLiteral("Anexo"))); // the hotspot's topic
        if (closing == QLatin1String("Escape")) {
            QTest::keyClick(viewer_->windowHandle(), Qt::Key_Escape);
        } else if (closing == QLatin1String("inside")) {
            systemClick(popup->viewport(), QPoint(5, 5));
        } else {
            QWidget *elsewhere = viewer_->StatusBar1;
            QVERIFY(!popup->geometry().contains(elsewhere->mapToGlobal(QPoint(5, 5))));
            systemClick(elsewhere, QPoint(5, 5));
        }
        QVERIFY(!popup->isVisible());

        systemClick(text->viewport(), linkAt("jump:CAP2"));
        QTRY_COMPARE(topic(), QStringLiteral("CAP2"));
        systemClick(viewer_->ToolButton21, QPoint(5, 5));
        QVERIFY(!viewer_->isVisible());
    }

    void salidaClosesTheViewer() {
        showViewer();
        FormEntrada = nullptr;
        viewer_->ToolButton21->click();
        QVERIFY(!viewer_->isVisible());
        QVERIFY(QFile::exists(QString::fromStdString(BookmarkFileName())));
        QVERIFY(QFile::exists(QString::fromStdString(AnnotationFileName())));
    }
};

QTEST_MAIN(TestVisorToolBar)
#include "test_visor_toolbar.moc"
