#pragma once

#include "platform/MusicBridge.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>

class TileStore;

// What the music player plays now, kept fresh for the now-playing tiles: asked every 5 seconds, and once
// more shortly after the deck toggled playback. The player is only asked while some page holds a
// now-playing tile and a player runs; the timer itself only runs while such a tile exists, so a deck
// without one never wakes up for music. A question left unanswered keeps the last state; with no player
// left, what it played last stays, paused.
//
// Main thread only. `changed` fires when the track, the artist or the playing state changed;
// `artworkChanged` after each artwork fetch, the file being the same or not, unless a later fetch was asked
// for meanwhile. Artwork is fetched again for a new track or a new address of its picture.
class NowPlayingModel final : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds pollInterval{5000};
    static constexpr std::chrono::milliseconds refreshDelay{600};

    NowPlayingModel(MusicBridge& music, const TileStore& store, QObject* parent = nullptr);

    // Starts polling and polls at once; later calls do nothing.
    void start();
    // One extra poll `refreshDelay` from now.
    void refreshSoon();
    // What the timer does on each tick.
    void poll();

    [[nodiscard]] bool isPlaying() const { return m_info.isPlaying; }
    [[nodiscard]] const QString& trackName() const { return m_info.track; }
    [[nodiscard]] const QString& artistName() const { return m_info.artist; }
    // The image file of the current artwork; empty when the track has none.
    [[nodiscard]] const QString& artworkFile() const { return m_artworkFile; }
    // Whether the player has answered at least once since the deck started.
    [[nodiscard]] bool hasAnswered() const { return m_hasAnswered; }
    [[nodiscard]] bool isPolling() const { return m_timer.isActive(); }

Q_SIGNALS:
    void changed();
    void isPlayingChanged(bool playing);
    void artworkChanged();

private:
    [[nodiscard]] bool hasNowPlayingTile() const;
    // Runs the timer exactly while a now-playing tile exists.
    void followTiles();
    void apply(const NowPlayingInfo& info);

    MusicBridge& m_music;
    const TileStore& m_store;
    bool m_started = false;
    QTimer m_timer;
    QTimer m_refresh;
    NowPlayingInfo m_info;
    bool m_hasAnswered = false;
    QString m_lastTrackID;
    QString m_lastArtworkAddress;
    quint64 m_artworkFetches = 0;
    QString m_artworkFile;
};
