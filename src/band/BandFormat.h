#pragma once

#include <QLocale>
#include <QString>

// The number texts of the band's readouts. Negative and non-finite inputs read as 0.
namespace BandFormat {

// Bytes per second in decimal steps: "999", "1K", "1.5M"; no unit beyond K or M.
[[nodiscard]] QString rate(double bytesPerSecond);
// A duration in whole units, largest two only: "45m", "3h 7m", "2d 5h".
[[nodiscard]] QString uptime(double seconds);

// A byte count as a file manager shows it, in decimal MB, GB or TB with up to one (MB) or two digits after
// the point and no trailing zeros: "512.3 MB", "1.5 GB", "2 TB".
[[nodiscard]] QString bytes(qint64 count, const QLocale& locale);

} // namespace BandFormat
