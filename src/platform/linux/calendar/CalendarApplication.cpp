#include "platform/linux/calendar/CalendarApplication.h"

#include "core/Logging.h"
#include "platform/Workspace.h"
#include "platform/linux/desktop/MimeDefaults.h"

namespace CalendarApplication {

void open(Workspace& workspace)
{
    // The desktop's own choice first, then the calendars that come with GNOME and Plasma.
    QStringList applications =
        MimeDefaults::defaultApplications(QStringLiteral("text/calendar"), MimeDefaults::listFiles());
    applications << QStringLiteral("org.gnome.Calendar.desktop")
                 << QStringLiteral("org.kde.korganizer.desktop")
                 << QStringLiteral("org.gnome.Evolution.desktop");
    for (const QString& application : applications)
        if (const std::optional<QString> path = workspace.applicationPath(application))
            if (workspace.launchApplication(*path))
                return;
    qCInfo(lcPlatform).noquote() << "Marquetto: no calendar application to open";
}

} // namespace CalendarApplication
