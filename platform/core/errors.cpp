#include "errors.h"

#include <QStringList>
#include <cerrno>
#include <cstdio>

EAppError::EAppError(const QString &message)
    : std::runtime_error(message.toStdString()), message_(message) {}

QString formatMessage(const char *pattern, const QStringList &args) {
    QString out;
    int next = 0;
    for (const char *p = pattern; *p; ++p) {
        if (*p == '%' && (p[1] == 's' || p[1] == 'd') && next < args.size()) {
            out += args[next++];
            ++p;
        } else {
            out += QLatin1Char(*p);
        }
    }
    return out;
}

EAppError EConvertError(const AnsiString &value) {
    return EAppError(formatMessage("'%s' is not a valid integer value", {ansi::toQt(value)}));
}

EAppError EInOutError(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return EAppError(QStringLiteral("File not found"));
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return EAppError(QStringLiteral("File access denied"));
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return EAppError(QStringLiteral("Disk full"));
    default:
        return EAppError(formatMessage("I/O error %d", {QString::number(errnoValue)}));
    }
}

namespace errorreport {

namespace {
Reporter &currentReporter() {
    static Reporter reporter = [](const QString &message) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    };
    return reporter;
}
} // namespace

void show(const QString &message) {
    currentReporter()(message);
}

Reporter setReporter(Reporter reporter) {
    Reporter previous = std::move(currentReporter());
    currentReporter() = std::move(reporter);
    return previous;
}

} // namespace errorreport

bool runHandler(const std::function<void()> &handler) {
    try {
        handler();
        return true;
    } catch (const EAppError &error) {
        errorreport::show(error.message());
    } catch (const std::exception &error) {
        errorreport::show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}
