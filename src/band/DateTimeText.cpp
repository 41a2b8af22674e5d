#include "DateTimeText.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace {

// The locale's long date, which orders and punctuates weekday, day and month as its users expect, less the
// year (with the separators and the quoted words that belong to it) and with short names.
QString shortDateFormat(const QLocale& locale)
{
    static const QRegularExpression year(QStringLiteral(R"([^\w']*('[^']*'[^\w']*)?y+[^dM']*('[^']*'\.?)?)"));
    static const QRegularExpression weekday(QStringLiteral("d{4}"));
    static const QRegularExpression month(QStringLiteral("M{4}"));
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(year);
    format.replace(weekday, QStringLiteral("ddd"));
    format.replace(month, QStringLiteral("MMM"));
    return format.trimmed();
}

// The locale's short time, which some locales (the C locale among them) give with seconds: the band shows
// hours and minutes only.
QString shortTimeFormat(const QLocale& locale)
{
    static const QRegularExpression seconds(QStringLiteral("[^\\w']*s+"));
    return locale.timeFormat(QLocale::ShortFormat).remove(seconds);
}

} // namespace

QString DateTimeText::date(const QDateTime& now, const QLocale& locale)
{
    return locale.toString(now.date(), shortDateFormat(locale));
}

QString DateTimeText::time(const QDateTime& now, const QLocale& locale)
{
    return locale.toString(now.time(), shortTimeFormat(locale));
}
