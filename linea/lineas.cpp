#include "lineas.h"

#include "cmdline.h"
#include "errors.h"
#include "paths.h"

#include <QFile>
#include <cerrno>

namespace {
constexpr char kEndOfData = 26;
} // namespace

TLineSettings TLineSettings::FromBytes(const std::string &bytes) {
    TLineSettings settings;
    const size_t end = std::min(bytes.find(kEndOfData), bytes.size());
    size_t pos = 0;
    for (AnsiString &line : settings.lines_) {
        if (pos >= end)
            break;
        const size_t cr = std::min(bytes.find('\r', pos), end);
        line = bytes.substr(pos, cr - pos);
        pos = cr + 1;
        if (pos < end && bytes[pos] == '\n')
            ++pos;
    }
    return settings;
}

AnsiString TLineSettings::Line(int number) const {
    return number >= 1 && number <= kLines ? lines_[size_t(number - 1)] : AnsiString();
}

AnsiString LineSettingsFileName() {
    return ParamStr(1) + ".inf";
}

TLineSettings ReadLineSettings() {
    QFile file(paths::resolvePath(LineSettingsFileName()));
    if (!file.exists())
        throw EInOutError(ENOENT);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(file.error() == QFileDevice::PermissionsError ? EACCES : EIO);
    const QByteArray bytes = file.readAll();
    return TLineSettings::FromBytes(std::string(bytes.constData(), size_t(bytes.size())));
}
