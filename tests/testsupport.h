#pragma once

// Shared helpers of the test programs.

#include "errors.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testsupport {

// Takes the place of the error box while it lives and keeps every message.
// Given a reading time, each message holds the program in an event loop of
// its own for that long, as a real box does until the user answers it.
class ErrorRecorder {
public:
    explicit ErrorRecorder(int readingMs = 0);
    ~ErrorRecorder();
    QStringList messages;

private:
    errorreport::Reporter previous_;
};

// A temporary folder used as the Windows directory (LECTOR_WINDOWS_DIR) and,
// when asked, as the current directory, both restored afterwards.
class ScratchDir {
public:
    explicit ScratchDir(bool makeCurrent = false);
    ~ScratchDir();
    QString path() const { return dir_.path(); }
    QString filePath(const QString &name) const { return dir_.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir dir_;
    QString previousCurrent_;
    QByteArray previousWindowsDir_;
};

// The text of a PDF file as pdftotext reads it, pages ending in a form feed;
// empty when it cannot be read.
QString pdfText(const QString &pdf);

// The source and build trees, as ctest passes them.
QString sourceDir();
QString binaryDir();

} // namespace testsupport
