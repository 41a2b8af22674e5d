#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>

// The deck's icon in the system tray.
namespace TrayIcon {

// The icon theme's "marquetto-symbolic", which a panel draws in its own text colour, light or dark; where the
// theme lacks it (a deck run from its build folder), the outlined glyph.
[[nodiscard]] QIcon icon();

// The deck's glyph in white with a dark outline, which shows on a light panel as on a dark one.
[[nodiscard]] QImage outlinedGlyph(QSize pixelSize);

} // namespace TrayIcon
