#pragma once

// Hotspots are the links of a topic: "cmd:TEXT" carries a command text for
// the program (type 0), "popup:CONTEXT" names a topic shown in a pop-up window
// (type 1), "jump:CONTEXT" a topic to go to (type 2).

#include <QString>
#include <QUrl>

namespace medview {

enum class HotspotKind { None = -1, Command = 0, Popup = 1, Jump = 2 };

struct HotspotLink {
    HotspotKind kind = HotspotKind::None;
    QString target; // the command text or the context string, percent-decoded
};

// What a clicked link asks for; None for links of any other kind.
HotspotLink parseHotspot(const QUrl &link);

} // namespace medview
