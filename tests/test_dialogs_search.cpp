// The search, results and history dialogs over a small title, driven as a
// user drives them: the viewer's tool buttons, typing, clicks, activations.

#include "buscar.h"
#include "dialogsupport.h"
#include "recorrido.h"
#include "resulta.h"
#include "visor_fixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace visortest;

namespace {

title::TitleSource searchSource() {
    auto topic = [](const char *context, const char *name, const char *text, const char *group) {
        return title::SourceTopic{QString::fromUtf8(context),
                                  QString::fromUtf8(name),
                                  QString::fromUtf8(text),
                                  {QString::fromUtf8(group)},
                                  true};
    };
    title::TitleSource source;
    source.info << QStringLiteral("CAP1.GRP=\"Capítulo 1\";")
                << QStringLiteral("CAP2.GRP=\"Capítulo 2\";");
    source.topics << topic("PORTADA", "Portada", "<p>Bienvenida al faro</p>", "CAP1")
                  << topic("FAROS", "Los faros", "<p>Los faros. El faro grande.</p>", "CAP1")
                  << topic("PUERTO", "El puerto", "<p>La fama del faro del puerto</p>", "CAP2")
                  << topic("MAR", "El mar", "<p>El mar abierto</p>", "CAP2");
    return source;
}

} // namespace

class TestDialogsSearch : public QObject, ViewerTest {
    Q_OBJECT

private:
    std::unique_ptr<TformaBuscar> buscar_;
    std::unique_ptr<TformaResulta> resulta_;
    std::unique_ptr<TformaRecorrido> recorrido_;

    void openWith(QToolButton *button, QWidget *dialog) {
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(QApplication::activeWindow(), dialog);
    }

    // The viewer's activation hands the activation back to the open dialog.
    void returnThroughTheViewer(QWidget *expectedActive) {
        viewer_->activateWindow();
        QTest::qWait(50);
        QTRY_COMPARE(QApplication::activeWindow(), expectedActive);
    }

private slots:
    void init() {
        writeFolder(sampleIni(), searchSource());
        viewer_ = createViewer();
        recorrido_ = createDialog(3, &formaRecorrido);
        buscar_ = createDialog(6, &formaBuscar);
        resulta_ = createDialog(11, &formaResulta);
        QVERIFY(dialogtest::activate(viewer_.get()));
    }

    void cleanup() {
        recorrido_.reset();
        buscar_.reset();
        resulta_.reset();
        formaRecorrido = nullptr;
        formaBuscar = nullptr;
        formaResulta = nullptr;
        destroyViewerAndFolder();
    }

    void layout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRect>("bounds");
        QTest::newRow("Buscar") << 6 << "Buscar frases o palabras" << QRect(154, 79, 557, 336);
        QTest::newRow("Resulta") << 11 << "Resultados de la búsqueda" << QRect(224, 110, 332, 234);
        QTest::newRow("Recorrido") << 3 << "Recorrido" << QRect(192, 107, 364, 228);
    }
    void layout() {
        QFETCH(int, code);
        QFETCH(QString, caption);
        QFETCH(QRect, bounds);
        QWidget *dialog = viewer_->DialogForm(code);
        dialog->show();
        QCOMPARE(dialog->windowTitle(), caption);
        QCOMPARE(dialog->pos(), bounds.topLeft());
        QCOMPARE(dialog->size(), bounds.size());
        QCOMPARE(dialogtest::cutOffTexts(dialog), QStringList());
    }

    void theHelpTextIsExact() {
        QCOMPARE(buscar_->Label2->Caption(),
                 QStringLiteral(
                     "Opciones básicas de búsqueda:\r"
                     "Si desea buscar: Ley reino Israel encontrará páginas con las palabras ley, "
                     "reino e Israel.\r"
                     "Si desea buscar: \"Los hermanos de\" encontrará  las páginas con la frase "
                     "exacta.\r"
                     "Si desea buscar: Ju* hallará páginas comenzando con ju (ej. juez, jueces "
                     "etc.)\r"
                     "Si desea buscar: De?????  hallará páginas comenzando con De y sustituyendo "
                     "cada signo de\r"
                     "                            interrogación por cualquier letra."));
    }

    // Query, scope and chapter choices last until the dialog is next activated,
    // here through the viewer's raise step.
    void everyActivationStartsANewSearch() {
        openWith(viewer_->ToolButton9, buscar_.get());
        QTest::keyClicks(buscar_->Edit1, QStringLiteral("faro"));
        QVERIFY(buscar_->Button1->isEnabled());
        const std::pair<QRadioButton *, int> scopes[] = {
            {buscar_->RadioButton1, 1}, {buscar_->RadioButton3, 0}, {buscar_->RadioButton2, 2}};
        for (const auto &[radio, mode] : scopes) {
            view().setSearchMode(-1);
            QTest::mouseClick(radio, Qt::LeftButton);
            QCOMPARE(view().SearchMode(), mode);
        }
        buscar_->CheckListBox1->item(0)->setCheckState(Qt::Unchecked);

        returnThroughTheViewer(buscar_.get());
        QVERIFY(buscar_->RadioButton3->isChecked());
        QCOMPARE(view().SearchMode(), 0);
        QCOMPARE(dialogtest::lines(buscar_->CheckListBox1), QStringList({"CAP1", "CAP2"}));
        for (int i = 0; i < 2; ++i)
            QCOMPARE(buscar_->CheckListBox1->item(i)->checkState(), Qt::Checked);
        QCOMPARE(buscar_->Edit1->text(), QString());
        QVERIFY(!buscar_->Button1->isEnabled());
        QCOMPARE(QApplication::focusWidget(), buscar_->Edit1);
    }

    void search_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("scope"); // radio button 1, 2 or 3
        QTest::addColumn<QList<int>>("unchecked");
        QTest::addColumn<QStringList>("hits");
        QTest::newRow("word") << "faro" << 3 << QList<int>()
                              << QStringList{"Portada", "Los faros", "El puerto"};
        QTest::newRow("blanks kept") << "  mar " << 3 << QList<int>() << QStringList{"El mar"};
        QTest::newRow("no hits") << "zzz" << 3 << QList<int>() << QStringList();
        QTest::newRow("one chapter") << "faro" << 2 << QList<int>{0} << QStringList{"El puerto"};
        QTest::newRow("no chapter") << "faro" << 2 << QList<int>{0, 1} << QStringList();
    }
    void search() {
        QFETCH(QString, query);
        QFETCH(int, scope);
        QFETCH(QList<int>, unchecked);
        QFETCH(QStringList, hits);
        openWith(viewer_->ToolButton9, buscar_.get());
        QRadioButton *radios[] = {buscar_->RadioButton1, buscar_->RadioButton2,
                                  buscar_->RadioButton3};
        QTest::mouseClick(radios[scope - 1], Qt::LeftButton);
        for (const int line : unchecked)
            buscar_->CheckListBox1->item(line)->setCheckState(Qt::Unchecked);
        int codeWhenShown = -1;
        resulta_->OnShow = [&] { codeWhenShown = viewer_->DialogCode; };
        QTest::keyClicks(buscar_->Edit1, query);
        QTest::mouseClick(buscar_->Button1, Qt::LeftButton);

        QVERIFY(view().HiliteSearchHits());
        if (scope == 2)
            QCOMPARE(view().TopicListMode(), 1);
        if (hits.isEmpty()) {
            QCOMPARE(buscar_->Edit1->text(),
                     QStringLiteral("No se halló la(s) palabra(s) consultada(s)"));
            QVERIFY(buscar_->isVisible());
            QVERIFY(buscar_->Button1->isEnabled());
            QVERIFY(!resulta_->isVisible());
            QCOMPARE(viewer_->DialogCode, 6);
            return;
        }
        QCOMPARE(codeWhenShown, 11);
        QCOMPARE(viewer_->DialogCode, 0); // the search's own close follows
        QVERIFY(!buscar_->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), resulta_.get());
        QCOMPARE(dialogtest::lines(resulta_->ListBox1), hits);
        QCOMPARE(resulta_->ListBox1->currentRow(), 0);
    }

    void oneBlankSearchesNothing() {
        view().RunSearch(QStringLiteral("faro"));
        openWith(viewer_->ToolButton9, buscar_.get());
        QTest::keyClicks(buscar_->Edit1, QStringLiteral(" "));
        QTest::mouseClick(buscar_->Button1, Qt::LeftButton);
        QCOMPARE(view().SearchHitCount(), 3);
        QVERIFY(!view().HiliteSearchHits());
        QCOMPARE(buscar_->Edit1->text(), QStringLiteral(" "));
        QVERIFY(buscar_->isVisible());
    }

    void resultsOpenHitsByTitle() {
        view().RunSearch(QStringLiteral("faro"));
        QVERIFY(dialogtest::activate(resulta_.get()));
        dialogtest::clickLine(resulta_->ListBox1, 2);
        QTest::mouseClick(resulta_->Button1, Qt::LeftButton);
        QCOMPARE(view().MediaViewTopic(), QStringLiteral("El puerto"));
        QVERIFY(resulta_->isVisible());

        // Not raised by the viewer (no code held); rebuilt when returned to.
        returnThroughTheViewer(viewer_.get());
        QVERIFY(dialogtest::activate(resulta_.get()));
        QCOMPARE(resulta_->ListBox1->count(), 3);
        QCOMPARE(resulta_->ListBox1->currentRow(), 0);

        // A later search without hits leaves the list empty; "Ir a" does nothing.
        view().RunSearch(QStringLiteral("zzz"));
        returnThroughTheViewer(viewer_.get());
        QVERIFY(dialogtest::activate(resulta_.get()));
        QCOMPARE(resulta_->ListBox1->count(), 0);
        QTest::mouseClick(resulta_->Button1, Qt::LeftButton);
        QCOMPARE(view().MediaViewTopic(), QStringLiteral("El puerto"));
    }

    void historyListsVisitsAndGoesBack() {
        // "Ir a" with nothing to choose does nothing, and leaves the next
        // visit to be recorded.
        ResetNavigationState();
        openWith(viewer_->ToolButton10, recorrido_.get());
        QTest::mouseClick(recorrido_->Button1, Qt::LeftButton);
        QVERIFY(!HistorySkip);
        QVERIFY(recorrido_->isVisible());

        for (const char *context : {"FAROS", "PUERTO", "FAROS"})
            view().OpenTopicByContext(QString::fromLatin1(context));
        const QStringList visits{"Los faros", "El puerto", "Los faros"};
        returnThroughTheViewer(recorrido_.get());
        QCOMPARE(dialogtest::lines(recorrido_->ListBox1), visits);
        QCOMPARE(recorrido_->ListBox1->currentRow(), 2);

        dialogtest::clickLine(recorrido_->ListBox1, 1);
        QTest::mouseClick(recorrido_->Button1, Qt::LeftButton);
        QCOMPARE(view().MediaViewTopic(), QStringLiteral("El puerto"));
        QVERIFY(!recorrido_->isVisible());
        QCOMPARE(viewer_->DialogCode, 0);
        QCOMPARE(HistoryCount, 3);
        QVERIFY(!HistorySkip);

        openWith(viewer_->ToolButton10, recorrido_.get());
        QCOMPARE(dialogtest::lines(recorrido_->ListBox1), visits);
        QCOMPARE(recorrido_->ListBox1->currentRow(), 2);
    }
};

QTEST_MAIN(TestDialogsSearch)
#include "test_dialogs_search.moc"
