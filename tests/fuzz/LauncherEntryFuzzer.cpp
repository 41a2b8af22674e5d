#include "FuzzCheck.h"
#include "FuzzVariantMap.h"
#include "platform/linux/desktop/LauncherEntryCounts.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    quietQtMessages();
    return 0;
}

// An `Update` signal of the launcher entry interface: the application's address, a zero byte, and its
// properties. Whatever an application sends, a count taken is within 0 and `largestCount`.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    const QString appUri = QString::fromUtf8(in.terminated());
    const QVariantMap properties = FuzzVariantMap::map(in, {"count", "count-visible", "progress", "urgent"});
    const LauncherEntryCounts::BadgeUpdate update = LauncherEntryCounts::badgeUpdate(appUri, properties);
    if (update.count && (*update.count < 0 || *update.count > LauncherEntryCounts::largestCount)) {
        std::fprintf(stderr, "an unread count of %lld taken\n", static_cast<long long>(*update.count));
        std::abort();
    }
    static_cast<void>(LauncherEntryCounts::desktopId(appUri));
    return 0;
}
