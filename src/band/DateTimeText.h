#pragma once

#include <QString>

class QDateTime;
class QLocale;

// The two lines of the date-and-time module, in the locale's own style.
namespace DateTimeText {

// Abbreviated weekday, abbreviated month and day, without the year ("Thu, Mar 5").
[[nodiscard]] QString date(const QDateTime& now, const QLocale& locale);
// Hour and minute with the locale's AM/PM marker where it has one ("2:07 PM").
[[nodiscard]] QString time(const QDateTime& now, const QLocale& locale);

} // namespace DateTimeText
