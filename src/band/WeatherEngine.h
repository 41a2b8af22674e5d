#pragma once

#include "core/Poller.h"
#include "core/net/SingleFetch.h"
#include "platform/Location.h"

#include <QLocale>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <optional>
#include <utility>

class DeckSettings;

// The current temperature and conditions where the machine is, asked at once and every half hour while
// started. The place is the `weatherLocation` preference when it holds one, else what the desktop's location
// service answers; a refusal or no service at all means the engine needs location access. The conditions
// come from the forecast service at the `weatherURL` preference. A failed request or a broken answer keeps
// the last reading; one request at most is out at a time. When the service is there but cannot tell where
// the machine is, the engine needs a place typed in.
//
// Main thread only. `changed` fires when the temperature, the symbol, the need for location access or a
// place, or the failure changes.
class WeatherEngine final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds interval{1800};
    static constexpr std::chrono::seconds defaultTimeout{8};
    static constexpr qint64 maxAnswerBytes = 64 * 1024;
    // How long a preference edit rests before the engine asks again with it.
    static constexpr std::chrono::seconds settleDelay{1};

    // `settings` and `location` must outlive the engine; `locale` picks the temperature's unit.
    WeatherEngine(const DeckSettings& settings, Location& location, const QLocale& locale,
                  std::chrono::milliseconds timeout = defaultTimeout, QObject* parent = nullptr);

    // Refreshes at once and then on every tick; does nothing while already started.
    void start();
    // Stops refreshing; the reading stays.
    void stop();
    [[nodiscard]] bool isRunning() const { return m_poller.isRunning(); }
    // What the timer does on each tick: finds the place, then asks for its conditions.
    void refresh();
    // What the deadline of the request that is out does.
    void abandonRequest() { m_fetch.abandon(); }
    [[nodiscard]] bool isFetching() const { return m_fetch.isBusy(); }

    [[nodiscard]] bool canOpenLocationSettings() const { return m_location.canOpenSettings(); }
    void openLocationSettings() { m_location.openSettings(); }

    [[nodiscard]] const QString& symbolName() const { return m_symbolName; }
    [[nodiscard]] bool needsLocation() const { return m_needsLocation; }
    // The desktop's location service answered without a position, and no place is set.
    [[nodiscard]] bool needsPlace() const { return m_needsPlace; }
    // The `weatherURL` preference is not an address the engine may ask.
    [[nodiscard]] bool failed() const { return m_failed; }
    // The module's text: the temperature, else "—" while location access is missing or the service address
    // is refused, else "Set Location…" while it needs a place, else "…".
    [[nodiscard]] QString text() const;

    // The latitude and longitude in "latitude,longitude", or nothing when it is not two numbers in range.
    [[nodiscard]] static std::optional<std::pair<double, double>> placeIn(const QString& text);

Q_SIGNALS:
    void changed();

private:
    void located(const Location::Answer& answer);
    void fetch(double latitude, double longitude);
    void apply(const std::optional<QByteArray>& body);
    void publish(bool needsLocation, bool failed, bool needsPlace = false);

    const DeckSettings& m_settings;
    Location& m_location;
    QLocale::MeasurementSystem m_measurement;
    SingleFetch m_fetch;
    Poller m_poller{interval, [this] { refresh(); }};
    QTimer m_settle;
    bool m_locating = false;
    std::optional<QString> m_temperature;
    QString m_symbolName = QStringLiteral("cloud");
    bool m_needsLocation = false;
    bool m_failed = false;
    bool m_needsPlace = false;
};
