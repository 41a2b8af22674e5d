#pragma once

#include "icons/IconImport.h"
#include "model/Models.h"

#include <QCache>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>
#include <optional>

class Clock;
class FileIcons;

// Finds the picture of a tile: its custom image file, the icon of the application or file it opens, or the
// symbol shown when there is no image. Images are cached in memory so that redrawing the deck never touches
// the disk; a missing file is never cached, so a file that appears later is picked up. An existing file the
// desktop has no icon for is asked about again only after `iconlessRetry`, once the desktop may have gained
// one: asking touches the disk, and the deck redraws a tile many times a second while it moves.
//
// Main thread only.
class IconResolver final {
public:
    // Custom images are decoded at most this many pixels on their longer side.
    static constexpr int maxDecodedSide = 1024;
    static constexpr qint64 iconlessRetrySeconds = 60;

    IconResolver(QString iconsDir, FileIcons& fileIcons, const Clock& clock);

    [[nodiscard]] std::optional<QImage> customImage(const QString& fileName);
    // The icon of a `launchApp` or `openFile` path that exists; nothing for every other action.
    [[nodiscard]] std::optional<QImage> autoImage(const std::optional<TileAction>& action);
    // The system symbol name shown when an action has no image.
    [[nodiscard]] static QString autoSymbol(const std::optional<TileAction>& action);
    // Whether a custom image is an opaque square that fills the tile face. Decided once per file name.
    [[nodiscard]] bool isPlate(const QString& fileName);

    // Brings a picture into the icons folder in the normal form: the new file's name, or nothing (logged).
    // Blocks while it decodes; the editor uses the asynchronous form.
    [[nodiscard]] std::optional<QString> importCustomImage(const QString& path) const;
    // Imports on a background thread; `completion` runs on the main thread, and only while `context` lives.
    void importCustomImageAsync(const QString& path, QObject* context,
                                IconImport::Completion completion) const;

private:
    QString m_iconsDir;
    FileIcons& m_fileIcons;
    const Clock& m_clock;
    QCache<QString, QImage> m_images;
    // When each path the desktop had no icon for was last asked about.
    QHash<QString, QDateTime> m_iconlessSince;
    QHash<QString, bool> m_plateFlags;
    // Each unreadable file is logged once, not on every redraw.
    QSet<QString> m_reportedUnreadable;
};
