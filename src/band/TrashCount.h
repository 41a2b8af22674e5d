#pragma once

#include <QStringList>

// How many items the Trash folders hold, hidden files not counted.
struct TrashCount {
    qint64 items = 0;
    // Every folder could be listed; a folder that could not adds nothing.
    bool allListed = true;
    bool operator==(const TrashCount&) const = default;

    // Lists the folders, which may take long on a slow disk: never on the main thread.
    [[nodiscard]] static TrashCount of(const QStringList& folders);
};
