#include "impresion.h"

#include "medview.h"
#include "mvutil.h"
#include "tablelist.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

TformaImpresion *formaImpresion = nullptr;

namespace {

// The list holds no more than its capacity: an addition stops there.
bool printListFull() {
    return PrintCount >= PrintList.capacity();
}

void appendPrintEntry(int32_t topic) {
    ++PrintCount;
    PrintList[PrintCount] = topic;
}

} // namespace

TformaImpresion::TformaImpresion()
    : TDialogForm(QStringLiteral("Marque páginas para imprimir"), 192, 107, 519, 299) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    using dialoglayout::PlaceSizedToText;
    GroupBox1 =
        Named(Place<TGroupBox>(this, 16, 16, 201, 81, QStringLiteral(" Marcar ")), "GroupBox1");
    RadioButton1 =
        Named(Place<QRadioButton>(GroupBox1, 16, 24, 145, 17, QStringLiteral("Página actual")),
              "RadioButton1");
    RadioButton2 = Named(Place<QRadioButton>(GroupBox1, 16, 48, 177, 25,
                                             QStringLiteral("Todas las páginas del capítulo")),
                         "RadioButton2");
    Label1 = Named(PlaceSizedToText<QLabel>(this, 240, 16, QStringLiteral("Capítulos:")), "Label1");
    CheckListBox1 = Named(Place<QListWidget>(this, 232, 32, 145, 65), "CheckListBox1");
    Label2 = Named(PlaceSizedToText<QLabel>(this, 16, 112, QStringLiteral("Páginas marcadas")),
                   "Label2");
    ListBox1 = Named(Place<QListWidget>(this, 16, 136, 361, 145), "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    Button1 =
        Named(Place<QPushButton>(this, 408, 24, 97, 25, QStringLiteral("&Cancelar")), "Button1");
    Button2 =
        Named(Place<QPushButton>(this, 408, 136, 97, 25, QStringLiteral("&Añadir")), "Button2");
    Button3 =
        Named(Place<QPushButton>(this, 408, 176, 97, 25, QStringLiteral("&Eliminar")), "Button3");
    Button4 = Named(Place<QPushButton>(this, 408, 216, 97, 25, QStringLiteral("Eliminar &Todo")),
                    "Button4");
    Button5 =
        Named(Place<QPushButton>(this, 408, 256, 97, 25, QStringLiteral("&Imprimir")), "Button5");
    EnableRemoval(false);
    SetTabOrder({GroupBox1, RadioButton1, RadioButton2, ListBox1, Button1, Button2, Button3,
                 Button4, Button5, CheckListBox1});

    BindHandler(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    BindHandler(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    BindHandler(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    BindHandler(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    BindHandler(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
}

// Every activation starts over from the page shown, every chapter checked.
// The lines follow the list as it now is, also after the navigation state
// was reset under the dialog.
void TformaImpresion::FormActivate() {
    RadioButton1->setChecked(true);
    tablelist::FillChapters(CheckListBox1,
                            [](const TGrupoRec &group) { return ansi::toQt(group.Value); });
    CheckListBox1->setEnabled(false);
    if (ListBox1->count() != PrintCount)
        ShowEntryTitles(TitleView());
    if (ListBox1->count() > 0)
        EnableRemoval(true);
}

void TformaImpresion::RadioButton1Click() {
    CheckListBox1->setEnabled(false);
}

void TformaImpresion::RadioButton2Click() {
    CheckListBox1->setEnabled(true);
}

void TformaImpresion::Button1Click() {
    close();
}

// The same page may stand in the list several times.
void TformaImpresion::Button2Click() {
    TMedview &view = TitleView();
    if (TitleInfoCount(view) >= PrintCount) {
        if (RadioButton1->isChecked()) {
            AddCurrentPage(view);
        } else {
            AddCheckedChapters(view);
            ShowEntryTitles(view);
        }
    }
    if (PrintCount > 0)
        EnableRemoval(true);
}

void TformaImpresion::Button3Click() {
    const int entry = tablelist::SelectedEntry(ListBox1, PrintCount);
    if (entry == 0)
        return;
    tablelist::RemoveEntry(ListBox1, PrintList, PrintCount, entry);
    if (PrintCount == 0)
        EnableRemoval(false);
}

// The remove buttons stay as they are.
void TformaImpresion::Button4Click() {
    ListBox1->clear();
    PrintCount = 0;
}

// The title view prints the whole list as one job; the list stays.
void TformaImpresion::Button5Click() {
    if (PrintCount <= 0)
        return;
    TMedview &view = TitleView();
    view.BeginTopicList();
    view.setTopicListMode(1);
    for (int entry = 1; entry <= PrintCount; ++entry)
        view.PrintTopic(PrintList[entry]);
    view.EndPrint();
}

void TformaImpresion::AddCurrentPage(TMedview &view) {
    if (printListFull())
        return;
    ListBox1->addItem(view.MediaViewTopic());
    appendPrintEntry(view.TopicIndex());
}

// The checked chapters' topics follow the entries already listed, in the
// title view's order.
void TformaImpresion::AddCheckedChapters(TMedview &view) {
    tablelist::ListCheckedChapterTopics(CheckListBox1, view);
    const int topics = view.TopicListCount();
    for (int i = 0; i < topics && !printListFull(); ++i)
        appendPrintEntry(view.TopicListEntry(i));
}

void TformaImpresion::ShowEntryTitles(TMedview &view) {
    tablelist::Fill(ListBox1, PrintList, PrintCount,
                    [&view](int32_t topic) { return TitleInfoString(view, topic); });
}

void TformaImpresion::EnableRemoval(bool enabled) {
    Button3->setEnabled(enabled);
    Button4->setEnabled(enabled);
}
