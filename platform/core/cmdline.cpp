#include "cmdline.h"

namespace {
QStringList &commandLine() {
    static QStringList arguments;
    return arguments;
}
} // namespace

void SetCommandLine(const QStringList &arguments) {
    commandLine() = arguments;
}

int ParamCount() {
    return commandLine().isEmpty() ? 0 : int(commandLine().size()) - 1;
}

AnsiString ParamStr(int index) {
    if (index < 0 || index >= commandLine().size())
        return AnsiString();
    return ansi::fromQt(commandLine().at(index));
}
