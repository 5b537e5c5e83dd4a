#include "marcacion.h"

#include "medview.h"
#include "mvutil.h"
#include "tablelist.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

TformaMarcacion *formaMarcacion = nullptr;

TformaMarcacion::TformaMarcacion()
    : TDialogForm(QStringLiteral("Definir marcas en el libro"), 192, 107, 454, 283) {
    using dialoglayout::Named;
    using dialoglayout::Place;
    using dialoglayout::PlaceSizedToText;
    Label1 = Named(PlaceSizedToText<QLabel>(this, 16, 16, QStringLiteral("Nombre  nueva marca")),
                   "Label1");
    Edit1 = Named(Place<QLineEdit>(this, 16, 40, 289, 21), "Edit1");
    Edit1->setMaxLength(kEditLength);
    Label2 = Named(PlaceSizedToText<QLabel>(this, 16, 72, QStringLiteral("Marcas:")), "Label2");
    ListBox1 = Named(Place<QListWidget>(this, 16, 96, 289, 169), "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    Button1 =
        Named(Place<QPushButton>(this, 328, 32, 97, 25, QStringLiteral("&Aceptar")), "Button1");
    Button1->setEnabled(false);
    Button2 =
        Named(Place<QPushButton>(this, 328, 96, 97, 25, QStringLiteral("&Cancelar")), "Button2");
    Button3 =
        Named(Place<QPushButton>(this, 328, 240, 97, 25, QStringLiteral("&Eliminar")), "Button3");
    Button3->setEnabled(false);
    SetTabOrder({Edit1, ListBox1, Button1, Button2, Button3});

    BindHandler(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    BindHandler(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

void TformaMarcacion::FormCreate() {
    tablelist::LoadAndList([] { ReadBookmarkFile(BookmarkFileName()); }, BookmarkBuffer,
                           [this] { tablelist::ListBookmarks(ListBox1); });
}

void TformaMarcacion::FormActivate() {
    Edit1->setFocus();
    if (BookmarkCount > 0)
        Button3->setEnabled(true);
}

void TformaMarcacion::Edit1Change() {
    Button1->setEnabled(!Edit1->text().isEmpty());
}

// With the dialog's bookmarks all made, the typed name is dropped unsaid.
void TformaMarcacion::Button1Click() {
    if (BookmarkCount < kDialogBookmarks) {
        ++BookmarkCount;
        TMarcaRec &mark = Bookmarks[BookmarkCount];
        mark.Name = ansi::fromQt(Edit1->text()).substr(0, kBookmarkNameMax);
        mark.Topic = TitleView().TopicIndex();
        ListBox1->addItem(ansi::toQt(mark.Name));
    }
    Button3->setEnabled(true);
    Edit1->clear();
    Edit1->setFocus();
}

void TformaMarcacion::Button2Click() {
    close();
}

void TformaMarcacion::Button3Click() {
    const int k = tablelist::SelectedEntry(ListBox1, BookmarkCount);
    if (k == 0)
        return;
    tablelist::RemoveEntry(ListBox1, Bookmarks, BookmarkCount, k);
}
