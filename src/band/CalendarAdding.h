#pragma once

#include <QString>

class AlertPresenter;
class CalendarStore;

// What the meeting module's "Add Calendar…" does with the file or address the user typed.
namespace CalendarAdding {

// Adds it to `store`; when the store refuses it, an alert tells the user why. An empty text adds nothing.
void add(CalendarStore& store, AlertPresenter& alerts, const QString& fileOrAddress);

} // namespace CalendarAdding
