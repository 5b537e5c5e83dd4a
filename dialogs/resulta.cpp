#include "resulta.h"

#include "medview.h"

#include <QListWidget>

TformaResulta *formaResulta = nullptr;

TformaResulta::TformaResulta()
    : TChoiceListForm(QStringLiteral("Resultados de la búsqueda"), QRect(224, 110, 332, 234),
                      {QPoint(16, 8), "Páginas con la(s) palabra(s) buscadas",
                       QRect(16, 32, 305, 153), QRect(48, 200, 97, 25), QRect(200, 200, 97, 25)}) {}

// The list follows the title view's current hits, first hit selected.
void TformaResulta::FormActivate() {
    TMedview &view = TitleView();
    QStringList titles;
    for (int i = 0; i < view.SearchHitCount(); ++i)
        titles << view.SearchHitTitle(i);
    ShowLines(titles, 0);
}

// A hit is opened by its title.
void TformaResulta::Button1Click() {
    const int line = SelectedLine();
    if (line >= 0)
        TitleView().setMediaViewTopic(ListBox1->item(line)->text());
}
