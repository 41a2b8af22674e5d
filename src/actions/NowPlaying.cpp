#include "actions/NowPlaying.h"

#include "model/TileStore.h"

#include <QPointer>

NowPlayingModel::NowPlayingModel(MusicBridge& music, const TileStore& store, QObject* parent)
    : QObject(parent)
    , m_music(music)
    , m_store(store)
{
    m_timer.setInterval(pollInterval);
    m_timer.callOnTimeout(this, &NowPlayingModel::poll);
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(refreshDelay);
    m_refresh.callOnTimeout(this, &NowPlayingModel::poll);
    connect(&m_store, &TileStore::pagesChanged, this, &NowPlayingModel::followTiles);
}

void NowPlayingModel::start()
{
    if (m_started)
        return;
    m_started = true;
    followTiles();
    poll();
}

void NowPlayingModel::refreshSoon()
{
    m_refresh.start();
}

void NowPlayingModel::followTiles()
{
    if (!m_started)
        return;
    const bool wanted = hasNowPlayingTile();
    if (wanted == m_timer.isActive())
        return;
    if (!wanted) {
        m_timer.stop();
        return;
    }
    m_timer.start();
    // A tile just placed shows what plays without waiting for the first tick.
    poll();
}

bool NowPlayingModel::hasNowPlayingTile() const
{
    for (const Page& page : m_store.pages())
        for (const Tile& tile : page)
            if (tile.action && tile.action->as<TileAction::NowPlaying>())
                return true;
    return false;
}

void NowPlayingModel::poll()
{
    if (!hasNowPlayingTile())
        return;
    if (!m_music.isMusicRunning()) {
        // Nothing plays once the last player is gone; what it played last stays shown.
        if (m_info.isPlaying) {
            NowPlayingInfo stopped = m_info;
            stopped.isPlaying = false;
            apply(stopped);
        }
        return;
    }
    m_music.fetchNowPlaying([self = QPointer(this)](std::optional<NowPlayingInfo> info) {
        if (self && info)
            self->apply(*info);
    });
}

void NowPlayingModel::apply(const NowPlayingInfo& info)
{
    const bool firstAnswer = !m_hasAnswered;
    m_hasAnswered = true;
    const bool playingChanged = info.isPlaying != m_info.isPlaying;
    const bool shownChanged =
        firstAnswer || playingChanged || info.track != m_info.track || info.artist != m_info.artist;
    const bool newArtwork = info.trackID != m_lastTrackID || info.artworkAddress != m_lastArtworkAddress;
    m_info = info;
    if (shownChanged)
        Q_EMIT changed();
    if (playingChanged)
        Q_EMIT isPlayingChanged(m_info.isPlaying);
    if (!newArtwork)
        return;
    // The trigger is the track or the address of its picture, never the picture itself: two tracks of one
    // album fetch the same artwork twice.
    m_lastTrackID = info.trackID;
    m_lastArtworkAddress = info.artworkAddress;
    // A download can take longer than the next track: only the latest fetch may show its picture.
    m_music.fetchNowPlayingArtwork(
        [self = QPointer(this), fetch = ++m_artworkFetches](std::optional<QString> path) {
            if (!self || fetch != self->m_artworkFetches)
                return;
            self->m_artworkFile = path.value_or(QString());
            Q_EMIT self->artworkChanged();
        });
}
