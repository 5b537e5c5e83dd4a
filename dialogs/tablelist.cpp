#include "tablelist.h"

#include "forms.h"
#include "medview.h"

#include <QFocusEvent>

namespace tablelist {

int SelectedEntry(const QListWidget *list, int32_t count) {
    const int line = list->currentRow();
    if (line < 0 || line >= count || !list->item(line)->isSelected())
        return 0;
    return line + 1;
}

void SelectNone(QListWidget *list) {
    list->setCurrentRow(-1);
    list->clearSelection();
}

namespace {

// Entered from the keyboard with no line current, the list stands on its
// first line, unselected, so that Space chooses it.
class EnterOnFirstLine : public QObject {
public:
    explicit EnterOnFirstLine(QListWidget *list) : QObject(list), list_(list) {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == list_ && event->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent *>(event)->reason() != Qt::MouseFocusReason &&
            list_->currentRow() < 0 && list_->count() > 0)
            list_->selectionModel()->setCurrentIndex(list_->model()->index(0, 0),
                                                     QItemSelectionModel::NoUpdate);
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget *list_;
};

} // namespace

void BindChoice(QListWidget *list, QObject *context, std::function<void()> choice) {
    new EnterOnFirstLine(list);
    BindHandler(list, &QListWidget::itemSelectionChanged, context, choice);
    // A click on the line already chosen changes no selection.
    BindHandler(list, &QListWidget::itemClicked, context, std::move(choice));
}

void ListBookmarks(QListWidget *list) {
    Fill(list, Bookmarks, BookmarkCount, [](const TMarcaRec &mark) { return mark.Name; });
}

// A caption wider than the list is cut at its edge: a horizontal scroll bar
// would hide a row of these short lists. Each fill shows the first rows.
void FillChapters(QListWidget *list, const std::function<QString(const TGrupoRec &)> &caption) {
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->clear();
    for (int i = 1; !Groups[i].Name.empty(); ++i) {
        auto *line = new QListWidgetItem(caption(Groups[i]), list);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(Qt::Checked);
    }
    list->scrollToTop();
}

// A chapter is searched and printed by its group's name, whatever it shows.
void ListCheckedChapterTopics(const QListWidget *list, TMedview &view) {
    view.BeginTopicList();
    view.setTopicListMode(1);
    for (int line = 0; line < list->count(); ++line) {
        if (list->item(line)->checkState() == Qt::Checked)
            view.AddGroupToTopicList(ansi::toQt(Groups[line + 1].Name));
    }
}

} // namespace tablelist
