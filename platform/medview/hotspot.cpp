#include "hotspot.h"

namespace medview {

namespace {

HotspotKind kindOfScheme(const QString &scheme) {
    if (scheme.compare(QLatin1String("cmd"), Qt::CaseInsensitive) == 0)
        return HotspotKind::Command;
    if (scheme.compare(QLatin1String("popup"), Qt::CaseInsensitive) == 0)
        return HotspotKind::Popup;
    if (scheme.compare(QLatin1String("jump"), Qt::CaseInsensitive) == 0)
        return HotspotKind::Jump;
    return HotspotKind::None;
}

} // namespace

HotspotLink parseHotspot(const QUrl &link) {
    HotspotLink hotspot;
    hotspot.kind = kindOfScheme(link.scheme());
    if (hotspot.kind == HotspotKind::None)
        return hotspot;
    // Everything after the scheme belongs to the text, "?" and "#" included.
    const QByteArray encoded = link.toEncoded();
    const int colon = encoded.indexOf(':');
    hotspot.target = QUrl::fromPercentEncoding(encoded.mid(colon + 1));
    return hotspot;
}

} // namespace medview
