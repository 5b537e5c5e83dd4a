#include "atomicfile.h"

#include "errors.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

// The read-only attribute: no write permission in the mode bits, which holds
// whoever runs the program, root included; or none for this user.
bool isReadOnly(const QByteArray &name) {
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return false;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(name.constData(), W_OK) != 0;
}

// One temporary name per stored file: a save that was killed leaves at most
// that one file behind, and the next save takes it over.
QByteArray temporaryName(const QFileInfo &target) {
    return QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".tmp"));
}

bool namesOpenFile(const QByteArray &name, int fd) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(name.constData(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

[[noreturn]] void closeAndRaise(int fd, int error) {
    ::close(fd);
    throw EInOutError(error);
}

// The temporary file, locked against another process saving the same file
// and emptied. When that save renamed the name away while this one waited for
// the lock, the name is opened afresh.
int openTemporary(const QByteArray &name) {
    for (;;) {
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            throw EInOutError(errno);
        int locked;
        do
            locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        if (locked != 0)
            closeAndRaise(fd, errno);
        if (!namesOpenFile(name, fd)) {
            ::close(fd);
            continue;
        }
        if (::ftruncate(fd, 0) != 0)
            closeAndRaise(fd, errno);
        return fd;
    }
}

} // namespace

void WriteFileAtomically(const AnsiString &path, const std::string &bytes) {
    const QString target = paths::resolvePath(path);
    const QByteArray targetName = QFile::encodeName(target);
    const QFileInfo info(target);
    if (isReadOnly(targetName))
        throw EInOutError(EACCES);
    if (!QDir().mkpath(info.absolutePath()))
        throw EInOutError(EACCES);

    const QByteArray temporary = temporaryName(info);
    const int fd = openTemporary(temporary);
    int error = writeAll(fd, bytes);
    if (!error && ::fsync(fd) != 0)
        error = errno;
    // Keep the mode an existing file had.
    if (!error) {
        struct stat existing {};
        ::fchmod(fd,
                 ::stat(targetName.constData(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
    }
    if (!error && ::rename(temporary.constData(), targetName.constData()) != 0)
        error = errno;
    if (error)
        ::unlink(temporary.constData());
    // Closing drops the lock once the name is renamed or removed; the flush
    // has already reported any failure to write.
    ::close(fd);
    if (error)
        throw EInOutError(error);
}

bool OpenStoredFile(QFile &file, const AnsiString &path) {
    const QByteArray name = QFile::encodeName(paths::resolvePath(path));
    const bool writable = !isReadOnly(name);
    const int fd = ::open(name.constData(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        throw EInOutError(errno);
    const QIODevice::OpenMode mode = writable ? QIODevice::ReadWrite : QIODevice::ReadOnly;
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle))
        closeAndRaise(fd, EIO);
    return writable;
}
