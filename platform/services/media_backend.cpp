#include "media_backend.h"

#include <QByteArray>
#include <QtGlobal>

namespace media {

void chooseBackend() {
    static const bool chosen = [] {
        if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
            qputenv("QT_MEDIA_BACKEND", QByteArrayLiteral("gstreamer"));
        return true;
    }();
    (void)chosen;
}

namespace {
// Set before main() runs, while the process has one thread and no media
// object exists yet.
const bool chosenAtStart = (chooseBackend(), true);
} // namespace

} // namespace media
