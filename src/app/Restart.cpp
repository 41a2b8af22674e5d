#include "app/Restart.h"

namespace Restart {

QStringList shellArguments(const QString& executable)
{
    // Inside single quotes only the quote itself is special: close, add an escaped quote, reopen.
    QString quoted = executable;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return {QStringLiteral("-c"), QStringLiteral("sleep 1; exec '%1'").arg(quoted)};
}

} // namespace Restart
