#pragma once

// Helpers of the dialogs' tests.

#include <QStringList>

class QListWidget;
class QWidget;

namespace dialogtest {

// The texts of `window`'s visible controls that do not fit their control, or
// controls that reach past their parent: each as "ObjectName: text".
QStringList cutOffTexts(const QWidget *window);

// The texts of a list's lines, first to last.
QStringList lines(const QListWidget *list);

// Clicks the middle of a list's line; `twice` adds a double click.
void clickLine(QListWidget *list, int line, bool twice = false);

// Shows `window` and makes it the active window, as a user's click would.
bool activate(QWidget *window);

} // namespace dialogtest
