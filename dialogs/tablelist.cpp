#include "tablelist.h"

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

void ListBookmarks(QListWidget *list) {
    Fill(list, Bookmarks, BookmarkCount, [](const TMarcaRec &mark) { return mark.Name; });
}

} // namespace tablelist
