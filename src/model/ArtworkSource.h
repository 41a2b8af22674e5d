#pragma once

#include <QString>
#include <functional>
#include <optional>

// Where the store gets artwork for album and playlist tiles whose icon is automatic: the music player.
// Answers arrive on the main thread, possibly after the call returned.
class ArtworkSource {
public:
    // The icon file name (in the icons folder) of fetched artwork, or nothing.
    using ArtworkHandler = std::function<void(std::optional<QString> fileName)>;

    virtual ~ArtworkSource() = default;

    // Whether artwork can be fetched now without starting the music player: the store's fetch for the whole
    // deck, which the deck makes on its own, must never start it.
    [[nodiscard]] virtual bool canFetchWithoutStartingPlayer() const = 0;
    virtual void fetchArtwork(const QString& album, const QString& artist, ArtworkHandler handler) = 0;
    virtual void fetchArtwork(const QString& playlist, ArtworkHandler handler) = 0;
};
