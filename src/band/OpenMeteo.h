#pragma once

#include <QByteArray>
#include <QUrl>
#include <optional>

// The forecast service's question for the current conditions at a place, and its answer.
namespace OpenMeteo {

struct Conditions {
    double celsius = 0;
    int wmoCode = 0;
    bool isDay = true;
    bool operator==(const Conditions&) const = default;
};

// `base` asked for the current temperature, WMO weather code and daylight at the place, in Celsius.
[[nodiscard]] QUrl currentQuery(const QUrl& base, double latitude, double longitude);

// The conditions in an answer, or nothing (with one log line) when it is not JSON, lacks the temperature or
// the code, or holds a temperature no place on Earth has. A missing daylight flag reads as day.
[[nodiscard]] std::optional<Conditions> parse(const QByteArray& body);

} // namespace OpenMeteo
