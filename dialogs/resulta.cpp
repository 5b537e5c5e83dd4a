#include "resulta.h"

#include "medview.h"
#include "visor.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

TformaResulta *formaResulta = nullptr;

TformaResulta::TformaResulta()
    : TDialogForm(QStringLiteral("Resultados de la búsqueda"), 224, 110, 332, 234) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    Label1 = Named(dialoglayout::PlaceSizedToText<QLabel>(
                       this, 16, 8, QStringLiteral("Páginas con la(s) palabra(s) buscadas")),
                   "Label1");
    ListBox1 = Named(Place<QListWidget>(this, 16, 32, 305, 153), "ListBox1");
    Button1 = Named(Place<QPushButton>(this, 48, 200, 97, 25, QStringLiteral("&Ir a")), "Button1");
    Button2 =
        Named(Place<QPushButton>(this, 200, 200, 97, 25, QStringLiteral("&Cerrar")), "Button2");

    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

// The list follows the title view's current hits, first hit selected.
void TformaResulta::FormActivate() {
    ListBox1->clear();
    TMedview &view = *formaVisor->Medview1;
    const int hits = view.SearchHitCount();
    for (int i = 0; i < hits; ++i)
        ListBox1->addItem(view.SearchHitTitle(i));
    if (hits > 0)
        ListBox1->setCurrentRow(0);
}

// A hit is opened by its title.
void TformaResulta::Button1Click() {
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    if (selected.isEmpty())
        return;
    formaVisor->Medview1->setMediaViewTopic(selected.first()->text());
}

void TformaResulta::Button2Click() {
    close();
}
