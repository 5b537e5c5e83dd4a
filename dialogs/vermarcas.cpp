#include "vermarcas.h"

#include "medview.h"
#include "mvutil.h"
#include "tablelist.h"

#include <QListWidget>

TformaVerMarcas *formaVerMarcas = nullptr;

TformaVerMarcas::TformaVerMarcas()
    : TDialogForm(QStringLiteral("Seleccionar marcas del libro"), 192, 107, 323, 196) {
    ListBox1 =
        dialoglayout::Named(dialoglayout::Place<QListWidget>(this, 8, 8, 305, 177), "ListBox1");
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    BindHandler(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
}

// Listed afresh at each activation, also when no bookmark is left: a name
// that stayed would lead to an entry that is no longer a bookmark.
void TformaVerMarcas::FormActivate() {
    tablelist::ListBookmarks(ListBox1);
}

void TformaVerMarcas::ListBox1DblClick() {
    const int k = tablelist::SelectedEntry(ListBox1, BookmarkCount);
    if (k > 0)
        TitleView().setTopicIndex(Bookmarks[k].Topic);
}
