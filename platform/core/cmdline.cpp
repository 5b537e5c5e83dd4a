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

RawCommandLine::RawCommandLine(int argc, char **argv) {
    static char unnamed[] = "";
    for (int i = 0; i < argc; ++i)
        arguments_ << QString::fromLocal8Bit(argv[i]);
    toolkitArgv_[0] = argc > 0 ? argv[0] : unnamed;
}
