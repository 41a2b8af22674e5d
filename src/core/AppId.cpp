#include "core/AppId.h"

namespace AppId {

QString id()
{
    return QStringLiteral(MARQUETTO_APP_ID);
}

QString desktopEntry()
{
    return id() + QStringLiteral(".desktop");
}

} // namespace AppId
