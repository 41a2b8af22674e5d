#include "WeatherText.h"

#include <cmath>

QString WeatherText::symbolName(int wmoCode, bool isDay)
{
    switch (wmoCode) {
    case 0:
        return isDay ? QStringLiteral("sun.max") : QStringLiteral("moon.stars");
    case 1:
    case 2:
        return isDay ? QStringLiteral("cloud.sun") : QStringLiteral("cloud.moon");
    case 45:
    case 48:
        return QStringLiteral("cloud.fog");
    case 51:
    case 53:
    case 55:
    case 56:
    case 57:
        return QStringLiteral("cloud.drizzle");
    case 61:
    case 63:
    case 65:
    case 66:
    case 67:
    case 80:
    case 81:
    case 82:
        return QStringLiteral("cloud.rain");
    case 71:
    case 73:
    case 75:
    case 77:
    case 85:
    case 86:
        return QStringLiteral("cloud.snow");
    case 95:
    case 96:
    case 99:
        return QStringLiteral("cloud.bolt.rain");
    default:
        // 3 (overcast), and what no WMO table holds.
        return QStringLiteral("cloud");
    }
}

QString WeatherText::temperature(double celsius, QLocale::MeasurementSystem system)
{
    const double degrees = system == QLocale::ImperialUSSystem ? celsius * 9 / 5 + 32 : celsius;
    return QStringLiteral("%1°").arg(qint64(std::round(degrees)));
}
