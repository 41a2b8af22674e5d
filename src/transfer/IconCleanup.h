#pragma once

#include "model/Models.h"

#include <QString>
#include <QStringList>
#include <optional>

struct AppPaths;
class Clock;
class QDateTime;

// Removing icon files that no layout uses any more, only when that is certain: any doubt about a layout (an
// unreadable one, a backup that does not decode, the hold file) leaves every file in place, and a file is
// only removed once it has not changed for a week.
//
// Safe on any thread: it works on files alone and is handed the live deck's pages. The caller makes sure no
// other deck works on the same files.
namespace IconCleanup {

// A file untouched for this long and named by no layout is no longer needed.
inline constexpr qint64 unusedAfterSeconds = 7 * 24 * 60 * 60;

struct Plan {
    // Full paths, in the order the icons folder lists them.
    QStringList files;
    qint64 totalBytes = 0;
};

// Called when no usable layout could be loaded: the icons on disk may belong to the layout that failed to
// load, so the clean-up is switched off for good by an empty hold file as long as any icon remains.
void holdIfIconsRemain(const AppPaths& paths);

[[nodiscard]] bool isHeld(const AppPaths& paths);

// The icon files to remove as of `now`, given the pages of the live deck; nothing when the clean-up must not
// run.
[[nodiscard]] std::optional<Plan> plan(const AppPaths& paths, const Pages& liveLayout, const QDateTime& now);

// Removes the planned files, skipping any that cannot be removed, logs how many went when any did, and
// answers that number.
int run(const AppPaths& paths, const Pages& liveLayout, const Clock& clock);

} // namespace IconCleanup
