#include "OpenMeteo.h"

#include "core/Logging.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>
#include <cmath>

namespace {

// Well beyond any air temperature ever measured: a reading outside is a broken answer, not weather.
constexpr double coldestCelsius = -100;
constexpr double hottestCelsius = 70;

std::optional<OpenMeteo::Conditions> refused(const char* reason)
{
    qCWarning(lcBand).noquote() << "Marquetto: weather answer refused:" << reason;
    return std::nullopt;
}

} // namespace

QUrl OpenMeteo::currentQuery(const QUrl& base, double latitude, double longitude)
{
    QUrl url = base;
    QUrlQuery query(base);
    query.addQueryItem(QStringLiteral("latitude"), QString::number(latitude, 'f', 4));
    query.addQueryItem(QStringLiteral("longitude"), QString::number(longitude, 'f', 4));
    query.addQueryItem(QStringLiteral("current"), QStringLiteral("temperature_2m,weather_code,is_day"));
    query.addQueryItem(QStringLiteral("temperature_unit"), QStringLiteral("celsius"));
    url.setQuery(query);
    return url;
}

std::optional<OpenMeteo::Conditions> OpenMeteo::parse(const QByteArray& body)
{
    const QJsonObject current = QJsonDocument::fromJson(body).object().value(u"current").toObject();
    if (current.isEmpty())
        return refused("no current conditions");
    const QJsonValue temperature = current.value(u"temperature_2m");
    const QJsonValue code = current.value(u"weather_code");
    if (!temperature.isDouble() || !code.isDouble())
        return refused("no temperature or weather code");
    const double celsius = temperature.toDouble();
    if (!std::isfinite(celsius) || celsius < coldestCelsius || celsius > hottestCelsius)
        return refused("temperature out of range");
    const double wmo = code.toDouble();
    if (wmo != std::floor(wmo) || wmo < 0 || wmo > 100)
        return refused("weather code out of range");
    return Conditions{celsius, int(wmo), current.value(u"is_day").toInt(1) != 0};
}
