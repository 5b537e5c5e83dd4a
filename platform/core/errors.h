#pragma once

#include "ansi.h"

#include <QString>
#include <functional>
#include <stdexcept>

// An error raised by the reader or the services it calls. It ends the handler
// it was raised in; the handler boundary (runHandler) shows its message in the
// standard error report and the program goes on.
class EAppError : public std::runtime_error {
public:
    explicit EAppError(const QString &message);
    const QString &message() const { return message_; }

private:
    QString message_;
};

// "'%s' is not a valid integer value"
EAppError EConvertError(const AnsiString &value);
// The run time's I/O error for a failed file operation: "File not found",
// "File access denied", "Disk full" or "I/O error %d", chosen by errno.
EAppError EInOutError(int errnoValue);

// Formats an error message: each %s and %d in turn takes the next argument.
QString formatMessage(const char *pattern, const QStringList &args);

namespace errorreport {

using Reporter = std::function<void(const QString &message)>;

// Shows a message in the standard error report (the error box of the
// application, or whatever a test installed).
void show(const QString &message);
// Replaces the report; returns the previous one.
Reporter setReporter(Reporter reporter);

} // namespace errorreport

// Runs an event or creation handler: an error escaping it is shown in the
// standard error report and goes no further. Returns false when it failed.
bool runHandler(const std::function<void()> &handler);
