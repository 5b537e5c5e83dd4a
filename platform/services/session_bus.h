#pragma once

// The desktop's session bus, used only when the desktop provides one. Qt's
// accessibility bridge asks for the session bus as the first window is made;
// with none there, the bus library would start one (dbus-launch) and leave
// its daemon running after the program ends.
namespace sessionbus {

// Before the application object exists, while the program has one thread:
// with no session bus on the desktop, points the bus library at none.
void startWithoutLaunching();
// Once the application object exists: has the bridge ask for the bus now,
// then gives the environment back, for the programs this one starts.
void settle();

} // namespace sessionbus
