#include "session_bus.h"

#include <QAccessible>
#include <QFileInfo>

namespace sessionbus {

namespace {

constexpr char kAddress[] = "DBUS_SESSION_BUS_ADDRESS";

bool held = false;

// Where the bus library looks: the address in the environment, else the
// socket "bus" in the user's runtime folder.
bool desktopHasBus() {
    if (!qEnvironmentVariableIsEmpty(kAddress))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

void startWithoutLaunching() {
    if (held || desktopHasBus())
        return;
    // An address of no known kind: the library reports it and starts nothing.
    qputenv(kAddress, "disabled:");
    held = true;
}

void settle() {
    if (!held)
        return;
    QAccessible::isActive();
    qunsetenv(kAddress);
    held = false;
}

} // namespace sessionbus
