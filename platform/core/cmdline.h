#pragma once

#include "ansi.h"

#include <QStringList>

// The program's command line as the run time offers it. ParamStr(0) is the
// program file; ParamStr(1..ParamCount()) the arguments, as 8-bit text.
void SetCommandLine(const QStringList &arguments); // arguments[0] = program
int ParamCount();
AnsiString ParamStr(int index);

// The command line as the system passed it. The programs' arguments are their
// own (a title and a topic, which a title's text may supply): the toolkit is
// given the program name alone, so that it takes none of its options
// ("-platform", "-stylesheet", ...) from them. Its environment variables still
// apply. Lives as long as the application object it is given to.
class RawCommandLine {
public:
    RawCommandLine(int argc, char **argv);
    const QStringList &arguments() const { return arguments_; } // for SetCommandLine
    int &toolkitArgc() { return toolkitArgc_; }
    char **toolkitArgv() { return toolkitArgv_; }

private:
    QStringList arguments_;
    int toolkitArgc_ = 1;
    char *toolkitArgv_[2] = {};
};
