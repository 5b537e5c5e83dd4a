#pragma once

#include "ansi.h"

#include <QStringList>

// The program's command line as the run time offers it. ParamStr(0) is the
// program file; ParamStr(1..ParamCount()) the arguments, as 8-bit text.
void SetCommandLine(const QStringList &arguments); // arguments[0] = program
int ParamCount();
AnsiString ParamStr(int index);
