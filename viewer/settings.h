#pragma once

// The title's settings: section TitleName of "Dezezi.ini" in BaseDir, keys
// "linea1" to "linea23". Read when needed, never cached, never written.

#include "ansi.h"

// One value of the settings file (empty when missing, at most 254 characters).
AnsiString ReadIniString(const AnsiString &fileName, const AnsiString &section,
                         const AnsiString &key, const AnsiString &defaultValue);
// ReadIniString(BaseDir + "Dezezi.ini", TitleName, key, "").
AnsiString ReadTitleSetting(const AnsiString &key);
// A yes/no switch: the value with a to z upper-cased equals `word` ("SI", "NO").
bool SwitchIs(const AnsiString &value, const char *word);
