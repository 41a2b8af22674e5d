// The calendar module's entry point; everything else it uses comes from the deck that loads it.
#include "platform/linux/calendar/EdsCalendarModule.h"
#include "platform/linux/calendar/eds/EdsCalendarStore.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) CalendarStore*
marquetto_eds_calendar_store(Workspace& workspace)
{
    return new EdsCalendarStore(workspace);
}

static_assert(std::is_same_v<decltype(&marquetto_eds_calendar_store), EdsCalendarModule::Entry>);
