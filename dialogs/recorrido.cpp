#include "recorrido.h"

#include "medview.h"
#include "mvutil.h"
#include "visor.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

TformaRecorrido *formaRecorrido = nullptr;

TformaRecorrido::TformaRecorrido() : TDialogForm(QStringLiteral("Recorrido"), 192, 107, 364, 228) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    Label1 =
        Named(dialoglayout::PlaceSizedToText<QLabel>(this, 8, 16, QStringLiteral("Recorrido:")),
              "Label1");
    ListBox1 = Named(Place<QListWidget>(this, 8, 32, 249, 177), "ListBox1");
    Button1 = Named(Place<QPushButton>(this, 272, 40, 81, 25, QStringLiteral("&Ir a")), "Button1");
    Button2 =
        Named(Place<QPushButton>(this, 272, 80, 81, 25, QStringLiteral("&Cerrar")), "Button2");
    dialoglayout::SetTabOrder({Button1, Button2, ListBox1});

    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

// Line i stands for history entry i + 1; the newest is selected.
void TformaRecorrido::FormActivate() {
    ListBox1->clear();
    for (int entry = 1; entry <= HistoryCount; ++entry)
        ListBox1->addItem(ansi::toQt(History[entry].Topic));
    if (HistoryCount > 0)
        ListBox1->setCurrentRow(HistoryCount - 1);
}

// With nothing chosen nothing happens: a skip set here would swallow the next
// real visit.
void TformaRecorrido::Button1Click() {
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    HistorySkip = true;
    const THistoriaRec &entry = History[ListBox1->row(selected.first()) + 1];
    formaVisor->Medview1->GoToTopicPosition(entry.VA, entry.Scroll);
    close();
}

void TformaRecorrido::Button2Click() {
    close();
}
