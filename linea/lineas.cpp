#include "lineas.h"

#include "cmdline.h"
#include "errors.h"
#include "paths.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr char kEndOfData = 26;

// The whole file; a failing open, read or close raises the I/O error of its
// errno (a folder of that name cannot be read: "File access denied").
std::string readCheckedFile(const QString &name) {
    const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EInOutError(errno);
    std::string bytes;
    char block[4096];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw EInOutError(error);
        }
        bytes.append(block, size_t(n));
    }
    if (::close(fd) != 0 && errno != EINTR)
        throw EInOutError(errno);
    return bytes;
}
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
    return TLineSettings::FromBytes(readCheckedFile(paths::resolvePath(LineSettingsFileName())));
}
