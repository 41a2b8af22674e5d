#include "platform/linux/CalendarApplication.h"

#include "core/Logging.h"
#include "platform/Workspace.h"

namespace CalendarApplication {

void open(Workspace& workspace)
{
    for (const char* application :
         {"org.gnome.Calendar.desktop", "org.kde.korganizer.desktop", "org.gnome.Evolution.desktop"})
        if (const std::optional<QString> path = workspace.applicationPath(QLatin1String(application)))
            if (workspace.launchApplication(*path))
                return;
    qCInfo(lcPlatform).noquote() << "Marquetto: no calendar application to open";
}

} // namespace CalendarApplication
