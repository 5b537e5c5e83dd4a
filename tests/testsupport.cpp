#include "testsupport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace testsupport {

ErrorRecorder::ErrorRecorder(int readingMs) {
    previous_ = errorreport::setReporter([this, readingMs](const QString &message) {
        messages << message;
        if (readingMs > 0) {
            QEventLoop box;
            QTimer::singleShot(readingMs, &box, &QEventLoop::quit);
            box.exec();
        }
    });
}

ErrorRecorder::~ErrorRecorder() {
    errorreport::setReporter(previous_);
}

ScratchDir::ScratchDir(bool makeCurrent) : previousWindowsDir_(qgetenv("LECTOR_WINDOWS_DIR")) {
    qputenv("LECTOR_WINDOWS_DIR", QFile::encodeName(dir_.path()));
    if (makeCurrent) {
        previousCurrent_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }
}

ScratchDir::~ScratchDir() {
    if (!previousCurrent_.isEmpty())
        QDir::setCurrent(previousCurrent_);
    qputenv("LECTOR_WINDOWS_DIR", previousWindowsDir_);
}

void ScratchDir::write(const QString &name, const QByteArray &bytes) const {
    const QString full = dir_.filePath(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray ScratchDir::read(const QString &name) const {
    QFile file(dir_.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString pdfText(const QString &pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString sourceDir() {
    return qEnvironmentVariable("LECTOR_TEST_SOURCE_DIR");
}
QString binaryDir() {
    return qEnvironmentVariable("LECTOR_TEST_BINARY_DIR");
}

} // namespace testsupport
