#pragma once

// Pictures of the tool bars and the contents tree, taken from the desktop's
// icon theme so that the reader looks like the other programs around it.

#include <QIcon>
#include <QStyle>
#include <initializer_list>

namespace iconos {

// Chooses an icon theme when the platform named none: "breeze", else
// "Adwaita", whichever is installed.
void ensureIconTheme();

// The first of the freedesktop icon names that the theme draws (each also
// tried with "-symbolic"); else the style's own picture `fallback`.
QIcon themeIcon(std::initializer_list<const char *> names, QStyle::StandardPixmap fallback);

} // namespace iconos
