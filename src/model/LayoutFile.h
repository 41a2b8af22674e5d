#pragma once

#include "core/AppPaths.h"
#include "model/LayoutBackups.h"
#include "model/Models.h"

#include <QByteArray>
#include <QString>
#include <optional>

class Clock;

// The layout file on disk, "tiles.json": a JSON array of pages, each an array of tiles running row by row.
// Older files holding one flat array of tiles (one page) are still read. Every write first backs up the file
// it replaces; the backups are kept in `backups()`.
//
// Main thread only.
class LayoutFile final {
public:
    // Far above any real deck; a larger layout file is treated as unreadable instead of filling the memory.
    static constexpr qint64 maxBytes = 64 * 1024 * 1024;

    struct Contents {
        Pages pages;
        // The file is in the older single-page format and should be rewritten in the current one.
        bool isOlderFormat = false;
    };

    LayoutFile(const AppPaths& paths, const Clock& clock);

    // The layout on disk, or nothing when there is none that can be used. A file that exists but does not
    // decode is left in place and copied to "tiles.unreadable.json", where the user and the icon clean-up
    // find it.
    [[nodiscard]] std::optional<Contents> read() const;
    // Neither a layout file nor a backup exists: nothing was ever saved here.
    [[nodiscard]] bool isFirstLaunch() const;
    // Backs up the file it replaces, then writes the pages atomically. Nothing on success; the reason,
    // logged, when it could not be written; the previous file is then untouched.
    std::optional<QString> write(const Pages& pages) const;

    [[nodiscard]] const LayoutBackups& backups() const { return m_backups; }

    // Layout bytes as pages, or as the older single flat list of tiles.
    [[nodiscard]] static std::optional<Contents> decode(const QByteArray& bytes);
    // The pages of a layout file in the current format, such as a backup; nothing when it cannot be read or
    // holds no page.
    [[nodiscard]] static std::optional<Pages> readPages(const QString& path);

private:
    AppPaths m_paths;
    LayoutBackups m_backups;
};
