#include "band/CalendarAdding.h"

#include "platform/AlertPresenter.h"
#include "platform/CalendarStore.h"

namespace CalendarAdding {

void add(CalendarStore& store, AlertPresenter& alerts, const QString& fileOrAddress)
{
    if (fileOrAddress.trimmed().isEmpty())
        return;
    const std::optional<QString> refusal = store.addSource(fileOrAddress);
    if (!refusal)
        return;
    static_cast<void>(
        alerts.present({QStringLiteral("Couldn't Add the Calendar"), *refusal, {QStringLiteral("OK")}}));
}

} // namespace CalendarAdding
