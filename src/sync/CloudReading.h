#pragma once

#include "sync/CloudRule.h"
#include "transfer/DeckTransfer.h"

#include <QString>
#include <memory>
#include <optional>

// What one reading of the synced folder found: for `deck`, the decoded file and its fingerprint.
struct CloudRemote {
    CloudRule::Reading reading = CloudRule::Reading::missing;
    std::shared_ptr<const DeckTransfer::DeckFile> file;
    QString fingerprint;
};

// Reads the sync file of a synced folder. A file unchanged since the last reading (same modification time
// in milliseconds and same size) is answered from that reading without being read again.
//
// Not thread-safe: one serial queue does all its reading.
class CloudReading final {
public:
    // `driveRoot` empty or missing reads as `unavailable`.
    [[nodiscard]] CloudRemote read(const QString& driveRoot);

private:
    struct Stamp {
        QString path;
        qint64 modified = 0;
        qint64 size = -1;
        bool operator==(const Stamp&) const = default;
    };

    [[nodiscard]] static std::optional<Stamp> stampOf(const QString& path);
    [[nodiscard]] CloudRemote decoded(const QByteArray& bytes, const Stamp& stamp);

    std::optional<std::pair<Stamp, CloudRemote>> m_lastRead;
    // A file seen once that did not decode: it may still be being written.
    std::optional<Stamp> m_suspect;
};
