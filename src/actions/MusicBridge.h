#pragma once

#include "model/ArtworkSource.h"

#include <QString>

// What the deck asks of the music player, the store's artwork included. Answers arrive on the main thread,
// possibly after the call returned.
class MusicBridge : public ArtworkSource {
public:
    // Starts playing the album; returns at once.
    virtual void play(const QString& album, const QString& artist) = 0;
    // Skips to the next or back to the previous track of what plays; returns at once.
    virtual void nextTrack() = 0;
    virtual void previousTrack() = 0;
};

// A desktop without a music player we can talk to: nothing runs and no artwork is found.
class NullMusicBridge final : public MusicBridge {
public:
    [[nodiscard]] bool isMusicRunning() const override { return false; }
    void fetchArtwork(const QString&, const QString&, ArtworkHandler handler) override
    {
        handler(std::nullopt);
    }
    void fetchArtwork(const QString&, ArtworkHandler handler) override { handler(std::nullopt); }
    void play(const QString&, const QString&) override {}
    void nextTrack() override {}
    void previousTrack() override {}
};
