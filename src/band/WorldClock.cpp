#include "WorldClock.h"

#include "band/DateTimeText.h"
#include "core/Logging.h"

#include <QDateTime>
#include <QLocale>

QString WorldClock::placeName(QStringView identifier)
{
    const qsizetype slash = identifier.lastIndexOf(u'/');
    return identifier.mid(slash + 1).toString().replace(u'_', u' ');
}

WorldClock::WorldClock(const QString& identifier)
{
    setZone(identifier);
}

void WorldClock::setZone(const QString& identifier)
{
    m_identifier = identifier;
    m_zone = identifier.isEmpty() ? QTimeZone() : QTimeZone(identifier.toUtf8());
    if (!m_zone.isValid()) {
        qCWarning(lcBand).noquote() << "Marquetto: the world clock's time zone" << identifier
                                    << "is unknown; showing the system's own";
    }
}

QString WorldClock::caption(const QString& label) const
{
    if (!label.isEmpty())
        return label.toUpper();
    const QString place = placeName(m_identifier);
    return place.isEmpty() ? QStringLiteral("CLOCK") : place.toUpper();
}

QString WorldClock::time(const QDateTime& now, const QLocale& locale) const
{
    const QDateTime there = m_zone.isValid() ? now.toTimeZone(m_zone) : now.toLocalTime();
    return DateTimeText::time(there, locale);
}
