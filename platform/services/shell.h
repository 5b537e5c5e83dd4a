#pragma once

// The desktop shell: opens addresses and documents with their default
// application and starts programs. Programs start detached, with their
// parameters split into arguments and never through a command interpreter.

#include "ansi.h"
#include "seam.h"

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

constexpr int SW_SHOWMAXIMIZED = 3;

// Runs when an address or document that was handed to the desktop's opener
// turns out not to open: the opener ended with an error or crashed.
using LateFailure = std::function<void()>;

struct ShellCall {
    QWidget *owner = nullptr;
    AnsiString verb; // empty: the default action
    AnsiString file;
    AnsiString parameters;
    AnsiString directory;
    int showCommand = 0;
    LateFailure onLateFailure;
};

// Returns a value above 32 on success, 32 or less on failure. An address or
// document goes to the desktop's opener, which finds its application only
// after the call has returned: the call counts that as success, and
// `onLateFailure`, when given, runs from the event loop if the opener then
// fails, as long as `owner` (when given) still exists.
intptr_t ShellExecuteA(QWidget *owner, const AnsiString &verb, const AnsiString &file,
                       const AnsiString &parameters, const AnsiString &directory, int showCommand,
                       LateFailure onLateFailure = {});

namespace shell {

using Handler = std::function<intptr_t(const ShellCall &)>;
// Replaces what ShellExecuteA does; returns the previous handler. An empty
// handler restores the desktop's.
Handler setHandler(Handler handler);

// Test double: records every call instead of acting on it, while it lives.
class RecordingShell {
public:
    RecordingShell();
    std::vector<ShellCall> calls;
    intptr_t result = 42;

private:
    ScopedHandler<Handler> installed_;
};

// The program the desktop hands addresses and documents to; empty: the
// desktop's opener, xdg-open on PATH.
struct Opener {
    QString program;
};

// Test double: addresses and documents go to `program` while it lives.
class ScopedOpener {
public:
    explicit ScopedOpener(const QString &program);

private:
    ScopedHandler<Opener> installed_;
};

} // namespace shell
