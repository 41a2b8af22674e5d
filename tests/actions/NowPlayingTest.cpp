#include "actions/NowPlaying.h"

#include "support/StoreFixture.h"

#include <QSignalSpy>

namespace {

NowPlayingInfo playing(const QString& track, const QString& id, bool isPlaying = true,
                       const QString& artworkAddress = {})
{
    return {isPlaying, track, QStringLiteral("Artist"), id, artworkAddress};
}

class NowPlayingTest : public StoreFixture {
protected:
    void SetUp() override
    {
        makeStore();
        placeNowPlayingTile();
        m_owned = std::make_unique<NowPlayingModel>(m_music, *m_store);
    }

    void placeNowPlayingTile()
    {
        Tile tile;
        tile.action = TileAction{TileAction::NowPlaying{}};
        m_store->set(tile, 0, 4);
    }

    // Answers the oldest now-playing question.
    void answer(std::optional<NowPlayingInfo> info)
    {
        ASSERT_FALSE(m_music.nowPlayingHandlers.empty());
        auto handler = std::move(m_music.nowPlayingHandlers.front());
        m_music.nowPlayingHandlers.erase(m_music.nowPlayingHandlers.begin());
        handler(std::move(info));
    }

    [[nodiscard]] qsizetype asked(const QString& request) const { return m_music.requests.count(request); }

    std::unique_ptr<NowPlayingModel> m_owned;
    NowPlayingModel& model() { return *m_owned; }
    const QString nowPlaying = QStringLiteral("now-playing");
    const QString artwork = QStringLiteral("now-playing-artwork");
};

} // namespace

TEST_F(NowPlayingTest, ThePlayerIsAskedOnlyWhileATileShowsItAndAPlayerRuns)
{
    m_music.running = false;
    model().start();
    model().poll();
    EXPECT_EQ(asked(nowPlaying), 0);

    m_music.running = true;
    m_store->set(Tile{}, 0, 4);
    EXPECT_FALSE(model().isPolling()) << "no tile, no timer";
    model().poll();
    EXPECT_EQ(asked(nowPlaying), 0);

    // A scene step that toggles playback is not a tile that shows what plays.
    Tile scene;
    scene.action = TileAction{TileAction::Sequence{{TileAction{TileAction::NowPlaying{}}}}};
    m_store->set(scene, 0, 1);
    EXPECT_FALSE(model().isPolling());

    placeNowPlayingTile();
    EXPECT_TRUE(model().isPolling());
    EXPECT_EQ(asked(nowPlaying), 1) << "a new tile asks at once";
}

TEST_F(NowPlayingTest, AnswersArePublishedAndANewTrackFetchesItsArtwork)
{
    model().start();
    QSignalSpy changed(&model(), &NowPlayingModel::changed);
    QSignalSpy playingChanged(&model(), &NowPlayingModel::isPlayingChanged);
    QSignalSpy artworkChanged(&model(), &NowPlayingModel::artworkChanged);

    answer(playing(QStringLiteral("One"), QStringLiteral("/track/1")));
    EXPECT_TRUE(model().isPlaying());
    EXPECT_EQ(model().trackName(), QStringLiteral("One"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(playingChanged.count(), 1);
    ASSERT_EQ(m_music.artworkFileHandlers.size(), 1u);
    m_music.artworkFileHandlers[0](QStringLiteral("/tmp/cover.png"));
    EXPECT_EQ(model().artworkFile(), QStringLiteral("/tmp/cover.png"));

    // The same track again changes nothing and fetches nothing.
    model().poll();
    answer(playing(QStringLiteral("One"), QStringLiteral("/track/1")));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(asked(artwork), 1);

    // The next track of the same album has the same picture: it is fetched all the same.
    model().poll();
    answer(playing(QStringLiteral("Two"), QStringLiteral("/track/2")));
    EXPECT_EQ(asked(artwork), 2);
    m_music.artworkFileHandlers[1](std::nullopt);
    EXPECT_TRUE(model().artworkFile().isEmpty());
    EXPECT_EQ(artworkChanged.count(), 2);

    // A question left unanswered, or answered with nothing, keeps what was shown.
    model().poll();
    answer(std::nullopt);
    EXPECT_EQ(model().trackName(), QStringLiteral("Two"));
    EXPECT_TRUE(model().isPlaying());
}

TEST_F(NowPlayingTest, OnceTheLastPlayerQuitsNothingPlaysAndItsLastTrackStays)
{
    model().start();
    answer(playing(QStringLiteral("One"), QStringLiteral("/track/1")));
    QSignalSpy playingChanged(&model(), &NowPlayingModel::isPlayingChanged);
    const qsizetype questions = asked(nowPlaying);

    m_music.running = false;
    model().poll();
    EXPECT_FALSE(model().isPlaying());
    EXPECT_EQ(model().trackName(), QStringLiteral("One"));
    model().poll();
    EXPECT_EQ(playingChanged.count(), 1);
    EXPECT_EQ(asked(nowPlaying), questions);
    EXPECT_EQ(asked(artwork), 1) << "the same track needs no new artwork";
}

TEST_F(NowPlayingTest, ArtworkNamedAfterTheTitleIsFetchedAndOnlyTheLatestFetchIsShown)
{
    model().start();
    // A browser names the picture of its one unchanging track id after the title.
    answer(playing(QStringLiteral("Video"), QStringLiteral("/tab/1")));
    model().poll();
    answer(playing(QStringLiteral("Video"), QStringLiteral("/tab/1"), true,
                   QStringLiteral("https://example.org/a.jpg")));
    ASSERT_EQ(asked(artwork), 2);

    // The first fetch, slower, answers last: what it found is the older picture.
    m_music.artworkFileHandlers[1](QStringLiteral("/cache/a.jpg"));
    m_music.artworkFileHandlers[0](std::nullopt);
    EXPECT_EQ(model().artworkFile(), QStringLiteral("/cache/a.jpg"));
}

TEST_F(NowPlayingTest, AnAnswerArrivingAfterTheModelIsGoneIsDropped)
{
    auto model = std::make_unique<NowPlayingModel>(m_music, *m_store);
    model->start();
    model.reset();
    answer(playing(QStringLiteral("One"), QStringLiteral("/track/1")));
    EXPECT_EQ(asked(artwork), 0);
}
