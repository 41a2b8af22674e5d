#pragma once

#include <QString>
#include <QStringView>
#include <QTimeZone>
#include <array>

class QDateTime;
class QLocale;

// The world-clock module: the time in the zone `worldClockTimeZone` names, under a caption. An identifier
// that names no zone the system knows shows the system's own time zone (logged when it is set); the
// caption still comes from the identifier.
class WorldClock final {
public:
    // The zones the customize window offers, in its order.
    static constexpr std::array<QStringView, 21> zones{
        u"Pacific/Honolulu",    u"America/Anchorage", u"America/Los_Angeles", u"America/Denver",
        u"America/Chicago",     u"America/New_York",  u"America/Sao_Paulo",   u"UTC",
        u"Europe/London",       u"Europe/Paris",      u"Europe/Berlin",       u"Europe/Athens",
        u"Africa/Johannesburg", u"Asia/Dubai",        u"Asia/Kolkata",        u"Asia/Bangkok",
        u"Asia/Singapore",      u"Asia/Shanghai",     u"Asia/Tokyo",          u"Australia/Sydney",
        u"Pacific/Auckland",
    };

    // The place an identifier names: its last "/"-separated part with underscores as spaces
    // ("America/New_York" → "New York"), empty when there is none.
    [[nodiscard]] static QString placeName(QStringView identifier);

    explicit WorldClock(const QString& identifier);

    // Follows a new `worldClockTimeZone`.
    void setZone(const QString& identifier);
    [[nodiscard]] const QString& identifier() const { return m_identifier; }
    [[nodiscard]] bool isKnownZone() const { return m_zone.isValid(); }

    // `worldClockLabel` when it is not empty, else the place name, else "Clock"; in upper case.
    [[nodiscard]] QString caption(const QString& label) const;
    // `now` in the zone, in the locale's short time style.
    [[nodiscard]] QString time(const QDateTime& now, const QLocale& locale) const;

private:
    QString m_identifier;
    QTimeZone m_zone;
};
