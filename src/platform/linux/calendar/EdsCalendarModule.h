#pragma once

#include "platform/CalendarStore.h"

#include <QString>
#include <memory>

class Workspace;

// Evolution Data Server's calendars come from a module of their own: its libraries (Camel, NSS, Kerberos,
// libsoup and some thirty more) would otherwise be loaded and relocated at every start of the deck, for a
// band that may never show a meeting. The module holds the store and answers it through `entryPoint`.
namespace EdsCalendarModule {

// What the module exports: a new store on `workspace`, which must outlive it.
using Entry = CalendarStore* (*)(Workspace& workspace);
constexpr const char* entryPoint = "marquetto_eds_calendar_store";
constexpr const char* fileName = "marquetto-eds.so";

// Where the module is looked for: beside the running program, as in a build tree, then where the install puts
// it relative to the program (lib/marquetto beside bin/), so that a deck only ever loads its own build's.
[[nodiscard]] QStringList candidates(const QString& programDirectory);

// The store from the module, or null when no module loads; says why in one log line.
[[nodiscard]] std::unique_ptr<CalendarStore> load(Workspace& workspace);

} // namespace EdsCalendarModule
