#pragma once

// The system clipboard as the reader uses it: the title view puts its copies
// there, the copy dialog reads and empties it. A test puts a clipboard of its
// own in its place.

#include "seam.h"

#include <memory>

class QMimeData;

namespace clipboard {

class Service {
public:
    virtual ~Service() = default;
    // What the clipboard holds; nullptr when it holds nothing.
    virtual const QMimeData *mimeData() = 0;
    // Replaces the content; the clipboard takes `data`.
    virtual void setMimeData(QMimeData *data) = 0;
    virtual void clear() = 0;
};

// The clipboard in use: the one a test installed, else the system's.
Service &current();
// Installs `service` (nullptr: the system's again); returns the previous one.
Service *setService(Service *service);

// Test double: a clipboard of its own while it lives. While `heldOpen` is set
// every access fails with "Cannot open clipboard", as when another program
// holds the clipboard open.
class MemoryClipboard : public Service {
public:
    MemoryClipboard();
    const QMimeData *mimeData() override;
    void setMimeData(QMimeData *data) override;
    void clear() override;

    bool heldOpen = false;

private:
    void open() const;

    std::unique_ptr<QMimeData> data_;
    ScopedHandler<Service *> installed_;
};

} // namespace clipboard
