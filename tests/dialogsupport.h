#pragma once

// Helpers of the dialogs' tests.

#include <QStringList>

class QWidget;

namespace dialogtest {

// The texts of `window`'s visible controls that do not fit their control, or
// controls that reach past their parent: each as "ObjectName: text".
QStringList cutOffTexts(const QWidget *window);

// Shows `window` and makes it the active window, as a user's click would.
bool activate(QWidget *window);

} // namespace dialogtest
