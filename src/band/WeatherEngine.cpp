#include "WeatherEngine.h"

#include "band/OpenMeteo.h"
#include "band/WeatherText.h"
#include "core/Logging.h"
#include "core/net/Endpoint.h"
#include "model/Settings.h"

#include <QDebug>
#include <QPointer>
#include <cmath>

WeatherEngine::WeatherEngine(const DeckSettings& settings, Location& location, const QLocale& locale,
                             std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_location(location)
    , m_measurement(locale.measurementSystem())
    , m_fetch(QStringLiteral("weather"), {timeout, maxAnswerBytes})
{
    // A place or an address being typed is asked for once the typing pauses, not at every key.
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleDelay);
    connect(&m_settle, &QTimer::timeout, this, &WeatherEngine::refresh);
    const auto settleIfRunning = [this] {
        if (isRunning())
            m_settle.start();
    };
    connect(&settings, &DeckSettings::weatherLocationChanged, this, settleIfRunning);
    connect(&settings, &DeckSettings::weatherURLChanged, this, settleIfRunning);
}

void WeatherEngine::start()
{
    m_poller.start();
}

void WeatherEngine::stop()
{
    m_poller.stop();
    m_settle.stop();
}

void WeatherEngine::refresh()
{
    const QString& stored = m_settings.weatherLocation();
    if (const auto place = placeIn(stored)) {
        fetch(place->first, place->second);
        return;
    }
    if (!stored.trimmed().isEmpty()) {
        qCWarning(lcBand).noquote()
            << "Marquetto: preference weatherLocation is not \"latitude,longitude\" in range:"
            << QDebug::toString(stored.left(80)) << "- asking the desktop instead";
    }
    if (m_locating)
        return;
    m_locating = true;
    m_location.locate([self = QPointer(this)](const Location::Answer& answer) {
        if (self)
            self->located(answer);
    });
}

QString WeatherEngine::text() const
{
    if (m_temperature)
        return *m_temperature;
    if (m_needsLocation || m_failed)
        return QStringLiteral("—");
    return m_needsPlace ? QStringLiteral("Set Location…") : QStringLiteral("…");
}

std::optional<std::pair<double, double>> WeatherEngine::placeIn(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 2)
        return std::nullopt;
    bool latitudeRead = false;
    bool longitudeRead = false;
    const double latitude = parts[0].trimmed().toDouble(&latitudeRead);
    const double longitude = parts[1].trimmed().toDouble(&longitudeRead);
    if (!latitudeRead || !longitudeRead || !std::isfinite(latitude) || !std::isfinite(longitude) ||
        std::abs(latitude) > 90 || std::abs(longitude) > 180)
        return std::nullopt;
    return std::pair(latitude, longitude);
}

void WeatherEngine::located(const Location::Answer& answer)
{
    m_locating = false;
    switch (answer.status) {
    case Location::Status::located:
        fetch(answer.latitude, answer.longitude);
        return;
    case Location::Status::denied:
    case Location::Status::unavailable:
        publish(true, m_failed);
        return;
    case Location::Status::failed:
        // Asking again in half an hour is all the service offers; the user can say where the machine is.
        publish(m_needsLocation, m_failed, true);
        return;
    }
}

void WeatherEngine::fetch(double latitude, double longitude)
{
    const std::optional<QUrl> base =
        Endpoint::fromPreference(QStringLiteral("weatherURL"), m_settings.weatherURL());
    publish(false, !base);
    if (!base)
        return;
    m_fetch.get(OpenMeteo::currentQuery(*base, latitude, longitude),
                [self = QPointer(this)](const std::optional<QByteArray>& body) {
                    if (self)
                        self->apply(body);
                });
}

void WeatherEngine::apply(const std::optional<QByteArray>& body)
{
    const std::optional<OpenMeteo::Conditions> conditions = body ? OpenMeteo::parse(*body) : std::nullopt;
    if (!conditions)
        return;
    const QString temperature = WeatherText::temperature(conditions->celsius, m_measurement);
    const QString symbol = WeatherText::symbolName(conditions->wmoCode, conditions->isDay);
    if (temperature == m_temperature && symbol == m_symbolName)
        return;
    m_temperature = temperature;
    m_symbolName = symbol;
    Q_EMIT changed();
}

void WeatherEngine::publish(bool needsLocation, bool failed, bool needsPlace)
{
    if (needsLocation == m_needsLocation && failed == m_failed && needsPlace == m_needsPlace)
        return;
    m_needsLocation = needsLocation;
    m_failed = failed;
    m_needsPlace = needsPlace;
    Q_EMIT changed();
}
