#include "settings.h"

#include "mvutil.h"
#include "profile.h"

AnsiString ReadIniString(const AnsiString &fileName, const AnsiString &section,
                         const AnsiString &key, const AnsiString &defaultValue) {
    return GetPrivateProfileStringA(section, key, defaultValue, 255, fileName);
}

AnsiString ReadTitleSetting(const AnsiString &key) {
    return ReadIniString(BaseDir + "Dezezi.ini", TitleName, key, AnsiString());
}

bool SwitchIs(const AnsiString &value, const char *word) {
    return ansi::upperAscii(value) == word;
}
