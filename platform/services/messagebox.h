#pragma once

// The standard message box: a text and a single OK button, titled with the
// program's title. It returns when the user dismisses it. A test answers in
// its place.

#include "seam.h"

#include <QString>
#include <functional>
#include <vector>

class QWidget;

void ShowMessage(QWidget *owner, const QString &text);

namespace messagebox {

using Handler = std::function<void(QWidget *owner, const QString &text)>;
// Replaces the box; returns the previous handler. An empty handler restores
// the system's.
Handler setHandler(Handler handler);

// Test double: keeps every text instead of showing it, while it lives.
class RecordingMessages {
public:
    RecordingMessages();
    std::vector<QString> texts;

private:
    ScopedHandler<Handler> installed_;
};

} // namespace messagebox
