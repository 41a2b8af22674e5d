#pragma once

#include "platform/CalendarStore.h"

#include <QDateTime>
#include <QList>
#include <QUrl>
#include <optional>

// What makes an event the next meeting, and how its link and countdown read.
namespace MeetingRules {

// The video-call address in the event's URL, location or notes, in that order: the first secure address of
// a known meeting service, with line breaks read as the end of the address.
[[nodiscard]] std::optional<QUrl> meetingLink(const CalendarEvent& event);

// The earliest-starting meeting still to end after `now`, among events that are neither all-day nor
// cancelled and that have attendees or a meeting link; the store's order breaks ties.
[[nodiscard]] std::optional<CalendarEvent> nextMeeting(const QList<CalendarEvent>& events,
                                                       const QDateTime& now);

// "Now" once started, "9:05" within the hour, "2h 05m" beyond it.
[[nodiscard]] QString countdown(const QDateTime& start, const QDateTime& now);

// The end of the day `now` falls in, in its time zone.
[[nodiscard]] QDateTime dayEnd(const QDateTime& now);

} // namespace MeetingRules
