#include "atomicfile.h"

#include "errors.h"
#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace atomicfile {
namespace {
FailureInjection &injection() {
    static FailureInjection hook;
    return hook;
}
} // namespace
void setFailureInjection(FailureInjection hook) {
    injection() = std::move(hook);
}
} // namespace atomicfile

namespace {

constexpr size_t kBlockSize = 4096;

int writeAll(int fd, const std::string &bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        if (atomicfile::injection()) {
            if (int injected = atomicfile::injection()(written))
                return injected;
        }
        const size_t chunk = std::min(kBlockSize, bytes.size() - written);
        const ssize_t n = ::write(fd, bytes.data() + written, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        written += size_t(n);
    }
    if (atomicfile::injection()) {
        if (int injected = atomicfile::injection()(written))
            return injected;
    }
    return 0;
}

} // namespace

void WriteFileAtomically(const AnsiString &path, const std::string &bytes) {
    const QString target = paths::resolvePath(path);
    const QFileInfo info(target);
    if (!QDir().mkpath(info.absolutePath()))
        throw EInOutError(EACCES);

    QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                           info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw EInOutError(errno);

    int error = writeAll(fd, bytes);
    if (!error && ::fsync(fd) != 0)
        error = errno;
    // Keep the mode an existing file had (mkstemp creates 0600).
    if (!error) {
        struct stat existing {};
        const QByteArray targetName = QFile::encodeName(target);
        ::fchmod(fd,
                 ::stat(targetName.constData(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
    }
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(pattern.constData(), QFile::encodeName(target).constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(pattern.constData());
        throw EInOutError(error);
    }
}
