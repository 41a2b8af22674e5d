#include "platform/linux/music/MprisMusic.h"

#include "core/PendingCalls.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "model/StarterHint.h"
#include "model/TileStore.h"
#include "platform/linux/music/AlbumSource.h"
#include "support/FakeClock.h"
#include "support/FakeWorkspace.h"
#include "support/LocalHttpServer.h"
#include "support/PrivateBus.h"
#include "support/TempHome.h"
#include "support/TestMprisPlayer.h"

#include <QDBusObjectPath>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace {

using namespace std::chrono_literals;

// Albums from a music folder the test describes; every queue written is recorded.
class FakeAlbumSource final : public AlbumSource {
public:
    bool writes = true;
    QStringList queues;           // "album/artist → path"
    std::optional<QString> cover; // the icon file name every album's artwork fetch answers

    void albums(MusicBridge::AlbumsHandler handler) override { handler({}); }
    void fetchArtwork(const QString&, const QString&, ArtworkSource::ArtworkHandler handler) override
    {
        handler(cover);
    }
    void writeQueue(const QString& album, const QString& artist, const QString& playlistPath,
                    WrittenHandler handler) override
    {
        queues << album + u'/' + artist + QStringLiteral(" → ") + playlistPath;
        handler(writes);
    }
};

QVariantMap track(const QString& id, const QVariant& artUrl = {})
{
    QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(id))},
                         {QStringLiteral("xesam:title"), QStringLiteral("So What")},
                         {QStringLiteral("xesam:artist"),
                          QStringList{QStringLiteral("Miles Davis"), QStringLiteral("Bill Evans")}}};
    if (artUrl.isValid())
        metadata.insert(QStringLiteral("mpris:artUrl"), artUrl);
    return metadata;
}

class MprisMusicTest : public TempHome {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
        m_music = std::make_unique<MprisMusic>(m_bus.connect(), m_albums, m_workspace, m_paths, 200ms);
    }

    // A paused player whose track is "/track/" + `name`; the bridge uses it once this returns.
    TestMprisPlayer& startPlayer(const QString& name = QStringLiteral("test"))
    {
        auto& player = *m_players.emplace_back(std::make_unique<TestMprisPlayer>(m_bus.connect(), name));
        player.properties = {{QStringLiteral("PlaybackStatus"), QStringLiteral("Paused")},
                             {QStringLiteral("Metadata"), track(QStringLiteral("/track/") + name)}};
        EXPECT_TRUE(QTest::qWaitFor([&] { return usedPlayer() == name; }));
        return player;
    }

    QString usedPlayer() { return nowPlaying().value_or(NowPlayingInfo()).trackID.section(u'/', 2); }

    template <typename T, typename Fetch>
    std::optional<T> fetch(Fetch fetch)
    {
        std::optional<std::optional<T>> answer;
        fetch([&answer](std::optional<T> value) { answer = std::move(value); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }));
        return answer.value_or(std::nullopt);
    }

    std::optional<NowPlayingInfo> nowPlaying()
    {
        return fetch<NowPlayingInfo>([this](auto handler) { m_music->fetchNowPlaying(handler); });
    }
    std::optional<QString> artwork()
    {
        return fetch<QString>([this](auto handler) { m_music->fetchNowPlayingArtwork(handler); });
    }
    QStringList playlists()
    {
        return fetch<QStringList>([this](auto handler) { m_music->fetchPlaylists(handler); })
            .value_or(QStringList());
    }

    PrivateBus m_bus;
    FakeAlbumSource m_albums;
    FakeWorkspace m_workspace;
    std::vector<std::unique_ptr<TestMprisPlayer>> m_players;
    std::unique_ptr<MprisMusic> m_music;
};

TEST_F(MprisMusicTest, TheBusIsReachedOnlyWhenMusicIsAskedAbout)
{
    int connections = 0;
    MprisMusic music(LazyDBusConnection([&] {
                         ++connections;
                         return m_bus.connect();
                     }),
                     m_albums, m_workspace, m_paths);
    music.fetchAlbums([](auto) {});
    EXPECT_EQ(connections, 0);

    EXPECT_FALSE(music.isMusicRunning());
    EXPECT_EQ(connections, 1);
    // The question went out on the bus; its answer is handled before the player it reports to goes.
    PendingCalls::waitForAll(2s);
}

TEST_F(MprisMusicTest, WithoutABusNoPlayerRunsAndEveryAnswerIsNothing)
{
    MprisMusic music(QDBusConnection(QStringLiteral("never connected")), m_albums, m_workspace, m_paths);
    std::optional<std::optional<NowPlayingInfo>> answer;
    music.fetchNowPlaying([&answer](auto info) { answer = info; });
    music.playPause();

    EXPECT_FALSE(music.isMusicRunning());
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, std::nullopt);
}

TEST_F(MprisMusicTest, NowPlayingFollowsThePlayersTrackAndStatus)
{
    TestMprisPlayer& player = startPlayer();
    EXPECT_EQ(nowPlaying(),
              (NowPlayingInfo{false, QStringLiteral("So What"), QStringLiteral("Miles Davis, Bill Evans"),
                              QStringLiteral("/track/test")}));

    player.setMetadata(track(QStringLiteral("/track/2")));
    player.setStatus(QStringLiteral("Playing"));
    EXPECT_EQ(nowPlaying(),
              (NowPlayingInfo{true, QStringLiteral("So What"), QStringLiteral("Miles Davis, Bill Evans"),
                              QStringLiteral("/track/2")}));
}

TEST_F(MprisMusicTest, StatusOfTheWrongTypeIsNoAnswer)
{
    TestMprisPlayer& player = startPlayer();
    const QVariantMap wrong[] = {{{QStringLiteral("PlaybackStatus"), 1}},
                                 {{QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")},
                                  {QStringLiteral("Metadata"), QStringLiteral("So What")}}};
    for (const QVariantMap& properties : wrong) {
        player.properties = properties;
        EXPECT_EQ(nowPlaying(), std::nullopt) << properties.size();
    }
}

TEST_F(MprisMusicTest, CommandsReachThePlayerEvenAsTheVeryFirstQuestion)
{
    TestMprisPlayer player(m_bus.connect(), QStringLiteral("test"));
    m_music->playPause();
    m_music->nextTrack();
    m_music->nextTrack();
    m_music->previousTrack();

    ASSERT_TRUE(QTest::qWaitFor([&] { return player.calls.size() == 4; }));
    EXPECT_EQ(player.callsTo(QStringLiteral("PlayPause")), 1);
    EXPECT_EQ(player.callsTo(QStringLiteral("Next")), 2);
    EXPECT_EQ(player.callsTo(QStringLiteral("Previous")), 1);
}

TEST_F(MprisMusicTest, LocalArtworkIsOnlyAFileOfAtMost32MB)
{
    TestMprisPlayer& player = startPlayer();
    const QString cover = m_dir.filePath(QStringLiteral("cover one.jpg"));
    const QString huge = m_dir.filePath(QStringLiteral("huge.png"));
    writeFile(cover, "JFIF");
    QFile hugeFile(huge);
    ASSERT_TRUE(hugeFile.open(QIODevice::WriteOnly) && hugeFile.resize(32 * 1024 * 1024 + 1));
    const struct {
        QVariant artUrl;
        std::optional<QString> expected;
    } cases[] = {
        {QUrl::fromLocalFile(cover).toString(), cover},
        {QStringLiteral("data:image/png;base64,iVBORw0KGgo="), std::nullopt},
        {QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("gone.png"))).toString(), std::nullopt},
        {QUrl::fromLocalFile(m_dir.path()).toString(), std::nullopt},
        {QUrl::fromLocalFile(huge).toString(), std::nullopt},
        {QVariant(), std::nullopt},
    };
    for (const auto& c : cases) {
        player.setMetadata(track(QStringLiteral("/track/test"), c.artUrl));
        EXPECT_EQ(artwork(), c.expected) << c.artUrl.toString().toStdString();
    }
}

TEST_F(MprisMusicTest, WebArtworkIsDownloadedOnceAndKeptOnlyWhenItIsAPicture)
{
    TestMprisPlayer& player = startPlayer();
    LocalHttpServer web;
    const QByteArray png = QByteArray("\x89PNG\r\n\x1a\n", 8) + "the rest of a cover";
    web.answer(QStringLiteral("/cover"), png, 200, "image/png");
    web.answer(QStringLiteral("/page"), "<html><body>Sign in</body></html>", 200, "image/png");
    const auto artworkAt = [&](const QString& path) {
        player.setMetadata(track(QStringLiteral("/track/test"), web.url(path).toString()));
        return artwork();
    };

    const std::optional<QString> cover = artworkAt(QStringLiteral("/cover"));
    ASSERT_TRUE(cover);
    EXPECT_EQ(readFile(*cover), png);
    EXPECT_EQ(artworkAt(QStringLiteral("/cover")), cover);
    EXPECT_EQ(web.targets(), QStringList{QStringLiteral("/cover")});
    EXPECT_EQ(artworkAt(QStringLiteral("/page")), std::nullopt);
    EXPECT_EQ(artworkAt(QStringLiteral("/missing")), std::nullopt);
}

TEST_F(MprisMusicTest, PlaylistsComeFromEveryPlayerThatOffersThemAndAreActivatedByName)
{
    TestMprisPlayer& keeper = startPlayer(QStringLiteral("keeper"));
    EXPECT_EQ(playlists(), QStringList());
    keeper.playlists = {{QStringLiteral("/list/1"), QStringLiteral("Chill"), {}},
                        {QStringLiteral("/list/3"), QStringLiteral("Chill"), {}}};
    TestMprisPlayer& hung = startPlayer(QStringLiteral("hung"));
    hung.playlists = {{QStringLiteral("/list/7"), QStringLiteral("Lost"), {}}};
    hung.answers = false;
    TestMprisPlayer& browser = startPlayer(QStringLiteral("browser"));
    TestMprisPlayer& radio = startPlayer(QStringLiteral("radio"));
    radio.playlists = {{QStringLiteral("/list/9"), QStringLiteral("Run"), {}}};

    // The player in use comes first; the one without the interface and the hung one add nothing.
    EXPECT_EQ(playlists(),
              (QStringList{QStringLiteral("Run"), QStringLiteral("Chill"), QStringLiteral("Chill")}));
    m_music->playPlaylist(QStringLiteral("chill"));
    m_music->playPlaylist(QStringLiteral("Chill"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return keeper.callsTo(QStringLiteral("ActivatePlaylist")) == 1; }));
    EXPECT_EQ(keeper.calls.back().arguments.value(0).value<QDBusObjectPath>().path(),
              QStringLiteral("/list/1"));
    EXPECT_EQ(radio.callsTo(QStringLiteral("ActivatePlaylist")) +
                  browser.callsTo(QStringLiteral("ActivatePlaylist")),
              0);
    EXPECT_EQ(keeper.calls.front().arguments,
              (QVariantList{0u, 1000u, QStringLiteral("UserDefined"), false}));
}

TEST_F(MprisMusicTest, PlaylistArtworkIsCopiedIntoTheIconsFolder)
{
    TestMprisPlayer& player = startPlayer();
    const QString picture = m_dir.filePath(QStringLiteral("Pictures/chill.png"));
    writeFile(picture, "PNG bytes");
    player.playlists = {
        {QStringLiteral("/list/1"), QStringLiteral("Chill"), QUrl::fromLocalFile(picture).toString()},
        {QStringLiteral("/list/2"), QStringLiteral("Run"), QStringLiteral("https://example.org/run.png")}};

    const std::optional<QString> name =
        fetch<QString>([this](auto handler) { m_music->fetchArtwork(QStringLiteral("Chill"), handler); });
    ASSERT_TRUE(name);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^playlist-[0-9A-F-]{36}\\.png$")).match(*name).hasMatch())
        << name->toStdString();
    EXPECT_EQ(readFile(m_paths.iconsDir() + u'/' + *name), "PNG bytes");
    EXPECT_EQ(fetch<QString>([this](auto handler) { m_music->fetchArtwork(QStringLiteral("Run"), handler); }),
              std::nullopt);
    EXPECT_EQ(
        fetch<QString>([this](auto handler) { m_music->fetchArtwork(QStringLiteral("Walk"), handler); }),
        std::nullopt);
}

TEST_F(MprisMusicTest, APlayerThatQuitsIsForgottenAndItsPendingAnswersAreNothing)
{
    TestMprisPlayer& player = startPlayer();
    std::optional<std::optional<NowPlayingInfo>> pending;
    m_music->fetchNowPlaying([&pending](auto info) { pending = info; });
    player.quit();

    ASSERT_TRUE(QTest::qWaitFor([&] { return pending.has_value(); }));
    EXPECT_EQ(*pending, std::nullopt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_music->isMusicRunning(); }));
    EXPECT_EQ(nowPlaying(), std::nullopt);
    EXPECT_EQ(playlists(), QStringList());
}

TEST_F(MprisMusicTest, APlayerThatNeverAnswersIsGivenUpOnWithoutWaiting)
{
    startPlayer().answers = false;
    std::optional<std::optional<NowPlayingInfo>> answer;
    m_music->fetchNowPlaying([&answer](auto info) { answer = info; });
    EXPECT_FALSE(answer.has_value());

    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }));
    EXPECT_EQ(*answer, std::nullopt);
}

TEST_F(MprisMusicTest, APlayingPlayerThatMissedItsFirstStatusQuestionIsUsedOnceItAnswers)
{
    // There before the bridge looks, and too busy to answer then.
    TestMprisPlayer& busy =
        *m_players.emplace_back(std::make_unique<TestMprisPlayer>(m_bus.connect(), QStringLiteral("busy")));
    busy.properties = {{QStringLiteral("PlaybackStatus"), QStringLiteral("Playing")},
                       {QStringLiteral("Metadata"), track(QStringLiteral("/track/busy"))}};
    busy.answers = false;
    // Once this is answered the bridge has listed the players: the idle one, started next, is the later.
    EXPECT_FALSE(nowPlaying().has_value());
    startPlayer(QStringLiteral("idle"));

    busy.answers = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return usedPlayer() == u"busy"; }));
}

TEST_F(MprisMusicTest, ThePlayerThatLastStartedPlayingIsUsed)
{
    TestMprisPlayer& first = startPlayer(QStringLiteral("first"));
    TestMprisPlayer& second = startPlayer(QStringLiteral("second"));
    m_music->playPause();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.callsTo(QStringLiteral("PlayPause")) == 1; }));

    first.setStatus(QStringLiteral("Playing"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return usedPlayer() == u"first"; }));
    second.setStatus(QStringLiteral("Playing"));
    first.setStatus(QStringLiteral("Paused"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return usedPlayer() == u"second"; }));
    EXPECT_EQ(first.callsTo(QStringLiteral("PlayPause")), 0);
}

TEST_F(MprisMusicTest, TheStartUpFetchGivesAlbumTilesTheirCoversWithoutAnyPlayer)
{
    Preferences preferences(m_paths.preferencesFile());
    DeckSettings settings(preferences);
    StarterHint hint(preferences);
    FakeClock clock;
    TileStore store({m_paths, settings, hint, clock, *m_music, [](int) { return std::vector<Tile>(); }});
    Tile album;
    album.action = TileAction{TileAction::PlayAlbum{QStringLiteral("Kind of Blue"), QStringLiteral("Miles")}};
    store.set(album, 0, 0);
    m_albums.cover = QStringLiteral("album-1.png");

    store.fetchAllMissingPlaylistArtwork();
    EXPECT_TRUE(QTest::qWaitFor([&store] { return !store.tile(0, 0).icon.isAuto(); }));
    EXPECT_EQ(store.tile(0, 0).icon, TileIcon{TileIcon::Custom{QStringLiteral("album-1.png")}});
}

TEST_F(MprisMusicTest, AnAlbumIsQueuedAndOpenedByThePlayerOrElseTheDesktop)
{
    const QString queue = m_paths.supportDir() + QStringLiteral("/Marquetto Queue.m3u8");
    m_music->play(QStringLiteral("Kind of Blue"), QStringLiteral("Miles Davis"));
    EXPECT_EQ(m_albums.queues, QStringList{QStringLiteral("Kind of Blue/Miles Davis → ") + queue});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_workspace.opened.empty(); }));
    EXPECT_EQ(m_workspace.opened, std::vector{QUrl::fromLocalFile(queue)});

    TestMprisPlayer& player = startPlayer();
    m_music->play(QStringLiteral("Kind of Blue"), {});
    // A paused player stays paused on a new file unless told to play.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.callsTo(QStringLiteral("Play")) == 1; }));
    ASSERT_EQ(player.calls.size(), 2u);
    EXPECT_EQ(player.calls[0].member, QStringLiteral("OpenUri"));
    EXPECT_EQ(player.calls[0].arguments,
              QVariantList{QUrl::fromLocalFile(queue).toString(QUrl::FullyEncoded)});

    player.answers = false;
    m_music->play(QStringLiteral("Kind of Blue"), {});
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_workspace.opened.size() == 2; }));

    m_albums.writes = false;
    m_music->play(QStringLiteral("Nowhere"), {});
    EXPECT_EQ(m_workspace.opened.size(), 2u);
}

} // namespace
