#pragma once

#include <QString>

// The number formats the band's readouts share.
namespace BandFormat {

// Seconds as "45m", "3h 7m" or "2d 5h": whole minutes below an hour, hours and minutes below a day, days and
// hours from then on. Negative or not-a-number reads as 0m.
[[nodiscard]] QString uptime(double seconds);

} // namespace BandFormat
