#pragma once

#include <QLocale>
#include <QString>

// What the weather module draws for a reading: a symbol name for the conditions and the temperature.
namespace WeatherText {

// The symbol for a WMO weather code, with the night's variant where there is one; "cloud" for a code that is
// not a WMO one.
[[nodiscard]] QString symbolName(int wmoCode, bool isDay);

// "22°": the temperature in Fahrenheit for the US measurement system, else in Celsius, rounded half away
// from zero, without a unit letter.
[[nodiscard]] QString temperature(double celsius, QLocale::MeasurementSystem system);

} // namespace WeatherText
