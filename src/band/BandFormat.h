#pragma once

#include <QString>

// The number texts of the band's readouts. Negative and non-finite inputs read as 0.
namespace BandFormat {

// Bytes per second in decimal steps: "999", "1K", "1.5M"; no unit beyond K or M.
[[nodiscard]] QString rate(double bytesPerSecond);
// A duration in whole units, largest two only: "45m", "3h 7m", "2d 5h".
[[nodiscard]] QString uptime(double seconds);

} // namespace BandFormat
