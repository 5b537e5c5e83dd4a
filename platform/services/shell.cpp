#include "shell.h"

#include "seam.h"

// What the desktop does for a call (shell_desktop.cpp).
intptr_t desktopShellExecute(const ShellCall &call);

namespace shell {

Handler setHandler(Handler handler) {
    return replaceHandler(std::move(handler));
}

RecordingShell::RecordingShell()
    : installed_([this](const ShellCall &call) {
          calls.push_back(call);
          return result;
      }) {}

ScopedOpener::ScopedOpener(const QString &program) : installed_(Opener{program}) {}

} // namespace shell

intptr_t ShellExecuteA(QWidget *owner, const AnsiString &verb, const AnsiString &file,
                       const AnsiString &parameters, const AnsiString &directory, int showCommand,
                       LateFailure onLateFailure) {
    const ShellCall call{
        owner, verb, file, parameters, directory, showCommand, std::move(onLateFailure)};
    if (const shell::Handler &handler = handlerSlot<shell::Handler>())
        return handler(call);
    return desktopShellExecute(call);
}
