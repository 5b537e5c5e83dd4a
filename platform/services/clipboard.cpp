#include "clipboard.h"

#include "errors.h"
#include "seam.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace clipboard {

namespace {

class SystemClipboard : public Service {
public:
    const QMimeData *mimeData() override { return QGuiApplication::clipboard()->mimeData(); }
    void setMimeData(QMimeData *data) override { QGuiApplication::clipboard()->setMimeData(data); }
    void clear() override { QGuiApplication::clipboard()->clear(); }
};

} // namespace

Service &current() {
    static SystemClipboard system;
    Service *installed = handlerSlot<Service *>();
    return installed ? *installed : system;
}

Service *setService(Service *service) {
    return replaceHandler(service);
}

MemoryClipboard::MemoryClipboard() : installed_(this) {}

void MemoryClipboard::open() const {
    if (heldOpen)
        throw EAppError(QStringLiteral("Cannot open clipboard"));
}

const QMimeData *MemoryClipboard::mimeData() {
    open();
    return data_.get();
}

void MemoryClipboard::setMimeData(QMimeData *data) {
    std::unique_ptr<QMimeData> taken(data);
    open();
    data_ = std::move(taken);
}

void MemoryClipboard::clear() {
    open();
    data_.reset();
}

} // namespace clipboard
