#include "choicelist.h"

#include "tablelist.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

template <typename Control, typename... Args>
Control *placeAt(QWidget *parent, const QRect &bounds, Args &&...args) {
    return dialoglayout::Place<Control>(parent, bounds.left(), bounds.top(), bounds.width(),
                                        bounds.height(), std::forward<Args>(args)...);
}

} // namespace

TChoiceListForm::TChoiceListForm(const QString &caption, const QRect &bounds, const Layout &layout)
    : TDialogForm(caption, bounds.left(), bounds.top(), bounds.width(), bounds.height()) {
    using dialoglayout::Named;
    Label1 = Named(dialoglayout::PlaceSizedToText<QLabel>(this, layout.label.x(), layout.label.y(),
                                                          QString::fromUtf8(layout.labelText)),
                   "Label1");
    ListBox1 = Named(placeAt<QListWidget>(this, layout.list), "ListBox1");
    Button1 = Named(placeAt<QPushButton>(this, layout.goTo, QStringLiteral("&Ir a")), "Button1");
    Button2 = Named(placeAt<QPushButton>(this, layout.close, QStringLiteral("&Cerrar")), "Button2");

    BindHandler(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    BindHandler(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TChoiceListForm::Button2Click() {
    close();
}

void TChoiceListForm::ShowLines(const QStringList &lines, int selected) {
    ListBox1->clear();
    ListBox1->addItems(lines);
    if (selected >= 0 && selected < lines.size())
        ListBox1->setCurrentRow(selected);
}

int TChoiceListForm::SelectedLine() const {
    return tablelist::SelectedEntry(ListBox1, ListBox1->count()) - 1;
}
