#pragma once

// The system's open-file dialog, as the component a form holds. A test
// answers in its place.

#include "ansi.h"
#include "seam.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

class TOpenDialog {
public:
    // Pairs of a description and its patterns, all joined by "|"; patterns
    // of one entry are separated by ";": "Archivos Dorvik (*.dvk)|*.DVK".
    AnsiString Filter;
    // The chosen file's full name, after Execute.
    AnsiString FileName;

    // Runs the dialog; true when the user chose a file. Like the system's
    // dialog it leaves the current directory at the chosen file's folder.
    bool Execute(QWidget *owner);
};

namespace opendialog {

// The chosen file's name, or nothing when the user cancels.
using Handler = std::function<std::optional<QString>(QWidget *owner, const AnsiString &filter)>;
// Replaces the system's dialog; returns the previous handler. An empty
// handler restores the system's.
Handler setHandler(Handler handler);

// The filter in the toolkit's form: "description (patterns)" per entry,
// entries joined by ";;"; a description that already ends with its patterns
// stays as it is.
QString nameFilters(const AnsiString &filter);

// Test double: answers every dialog with `answer` while it lives and keeps the
// filters it was given.
class ScriptedOpenDialog {
public:
    ScriptedOpenDialog();
    std::optional<QString> answer;
    std::vector<AnsiString> filters;

private:
    ScopedHandler<Handler> installed_;
};

} // namespace opendialog
