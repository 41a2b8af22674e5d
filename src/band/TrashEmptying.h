#pragma once

#include "band/TrashCount.h"
#include "platform/AlertPresenter.h"
#include "platform/Trash.h"

#include <QObject>
#include <optional>

// The Trash module's "Empty Trash…": count, ask, empty.
namespace TrashEmptying {

// The question to ask before emptying, or nothing when the Trash is known to be empty. The count is exact
// when every folder was listed and no file system was skipped.
[[nodiscard]] std::optional<Alert> alert(const TrashCount& count, bool skipped);

// Counts the Trash on the background queue, then, on the main thread and while `context` lives, asks
// through `alerts` and empties `trash` on "Empty Trash". Returns at once. `trash` must outlive the count.
void start(QObject* context, Trash& trash, AlertPresenter& alerts);

} // namespace TrashEmptying
