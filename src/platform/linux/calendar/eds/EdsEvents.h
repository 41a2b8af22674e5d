#pragma once

#include "platform/linux/calendar/ICalendarParse.h"

#include <QByteArray>
#include <QDateTime>

typedef struct _GSList GSList;

// What Evolution Data Server is asked for and how its answers read.
namespace EdsEvents {

// The query for the events that may occur in `from` … `to`: a day wider on both sides, since all-day
// events are matched in the backend's own time zone.
[[nodiscard]] QByteArray rangeQuery(const QDateTime& from, const QDateTime& to);
// The events of a list of the calendar's `ICalComponent`s, unexpanded; broken ones are left out.
[[nodiscard]] ICalendarData entries(const GSList* components);

} // namespace EdsEvents
