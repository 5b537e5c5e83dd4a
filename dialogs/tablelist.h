#pragma once

// A dialog's list that mirrors a shared table by position: line i, counted
// from 0, stands for entry i + 1 of the entries in use.

#include "ansi.h"
#include "mvutil.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <functional>

class TMedview;

namespace tablelist {

// The entry of the selected line, 1..count, or 0 when no line is selected.
int SelectedEntry(const QListWidget *list, int32_t count);

// Clears the list's selection and its current line.
void SelectNone(QListWidget *list);

// Runs `choice`, inside the handler boundary, each time a line is chosen: by
// a click, or from the keyboard, where the arrows move the selection and
// Space selects the line the list entered on without moving.
void BindChoice(QListWidget *list, QObject *context, std::function<void()> choice);

// Replaces the list's lines with `text` of entries 1..count; no line selected.
template <typename T, typename Text>
void Fill(QListWidget *list, OneBasedTable<T> &table, int32_t count, Text text) {
    list->clear();
    for (int i = 1; i <= count; ++i)
        list->addItem(ansi::toQt(text(table[i])));
    SelectNone(list);
}

// The names of the bookmarks in use, as both bookmark dialogs list them.
void ListBookmarks(QListWidget *list);

// Lists the title's chapters, the groups up to the first without a name, by
// their captions, each with its check box checked, from the top.
void FillChapters(QListWidget *list, const std::function<QString(const TGrupoRec &)> &caption);

// Starts the title view's topic list afresh with the groups of the checked
// chapters.
void ListCheckedChapterTopics(const QListWidget *list, TMedview &view);

// Removes entry k and its line: the entries above it each move down one
// place. No line is selected afterwards, so a second press of a delete
// button removes nothing more; the list tells of no choice meanwhile.
template <typename T>
void RemoveEntry(QListWidget *list, OneBasedTable<T> &table, int32_t &count, int k) {
    {
        const QSignalBlocker quiet(list);
        delete list->takeItem(k - 1);
        SelectNone(list);
    }
    for (int i = k + 1; i <= count; ++i)
        table[i - 1] = table[i];
    --count;
}

// Loads a table's file, then lists the table and starts its record buffer
// afresh, also when the load raised: the entries read before a failure are
// listed, and the save at close starts from a clean record, as the first save
// did, so that a file saved again unchanged keeps its bytes. The error then
// goes on to the handler boundary.
template <size_t Size, typename Load, typename List>
void LoadAndList(Load load, std::array<uint8_t, Size> &buffer, List list) {
    auto finish = [&] {
        list();
        buffer.fill(0);
    };
    try {
        load();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

} // namespace tablelist
