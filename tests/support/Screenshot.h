#pragma once

#include <QImage>
#include <QString>
#include <optional>

// The whole screen of the display DISPLAY names, as the server holds it; nothing when the display cannot be
// reached or its pixels are in a format other than 24-bit true colour.
[[nodiscard]] std::optional<QImage> grabScreen();

// The screen as a PNG file at `pngPath`, kept as evidence of an end-to-end test; false when it could not be
// grabbed or written.
bool saveScreenshot(const QString& pngPath);
