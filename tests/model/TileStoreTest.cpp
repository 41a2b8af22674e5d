#include "core/CanonicalJson.h"
#include "model/TileCoding.h"
#include "support/StoreFixture.h"
#include "transfer/IconCleanup.h"

#include <QDir>
#include <csignal>
#include <sys/resource.h>

namespace {

using Origin = TileStore::ChangeOrigin;

QByteArray layoutOf(const Pages& pages)
{
    return TileCoding::layoutBytes(pages);
}

Pages decodeFile(const QByteArray& bytes)
{
    const auto json = TileCoding::parse(bytes);
    if (!json)
        return {};
    auto pages = TileCoding::decodePages(*json);
    return pages ? *pages : Pages{};
}

bool isEmptyPage(const Page& page, size_t size)
{
    return page.size() == size &&
           std::all_of(page.begin(), page.end(), [](const Tile& t) { return t.isEmpty(); });
}

} // namespace

class TileStoreLoading : public StoreFixture {};

TEST_F(TileStoreLoading, FirstLaunchInstallsTheStarterDeckAndWritesItAtOnce)
{
    m_starterTiles = {snippetTile(QStringLiteral("a")), snippetTile(QStringLiteral("b"))};
    TileStore& store = makeStore();

    EXPECT_TRUE(QDir(m_paths.iconsDir()).exists());
    EXPECT_EQ(m_starterLimitAsked, 9);
    ASSERT_EQ(store.pages().size(), 1u);
    EXPECT_EQ(store.pages()[0].size(), 9u);
    EXPECT_EQ(store.pages()[0][1], m_starterTiles[1]);
    EXPECT_FALSE(store.loadedFromDisk());
    EXPECT_EQ(m_preferences->boolValue(QStringLiteral("starterHintPending")), true);
    EXPECT_EQ(decodeFile(readFile(m_paths.tilesFile())), store.pages());
    EXPECT_TRUE(backupNames().isEmpty());
}

TEST_F(TileStoreLoading, WithoutFavouritesOrWithADeckOfItsOwnItStartsEmptyAndWritesNothing)
{
    const struct {
        const char* name;
        std::vector<Tile> favourites;
        QString file;
        QByteArray bytes;
    } cases[] = {
        {"no favourites", {}, {}, {}},
        {"an empty layout", {snippetTile(QStringLiteral("a"))}, m_paths.tilesFile(), "[]"},
        {"only backups",
         {snippetTile(QStringLiteral("a"))},
         m_paths.backupsDir() + QStringLiteral("/tiles-20260101-090000.json"),
         "[[]]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(m_paths.supportDir()).removeRecursively();
        m_starterTiles = c.favourites;
        m_starterLimitAsked = -1;
        if (!c.file.isEmpty())
            writeFile(c.file, c.bytes);
        TileStore& store = makeStore();
        EXPECT_EQ(store.loadedFromDisk(), c.file == m_paths.tilesFile());
        ASSERT_EQ(store.pages().size(), 1u);
        EXPECT_TRUE(isEmptyPage(store.pages()[0], 9));
        EXPECT_FALSE(m_preferences->contains(QStringLiteral("starterHintPending")));
        EXPECT_EQ(exists(m_paths.tilesFile()), c.file == m_paths.tilesFile()) << "nothing is written";
        if (!c.favourites.empty()) {
            EXPECT_EQ(m_starterLimitAsked, -1) << "a deck of its own never brings the starter deck";
        }
    }
}

TEST_F(TileStoreLoading, OlderSinglePageFileIsReadAndRewrittenAsPages)
{
    const Page flat{snippetTile(QStringLiteral("old"))};
    writeFile(m_paths.tilesFile(), CanonicalJson::write(TileCoding::encode(flat)));
    TileStore& store = makeStore();

    EXPECT_TRUE(store.loadedFromDisk());
    ASSERT_EQ(store.pages().size(), 1u);
    EXPECT_EQ(store.pages()[0][0], flat[0]);
    EXPECT_EQ(decodeFile(readFile(m_paths.tilesFile())), store.pages());
}

TEST_F(TileStoreLoading, UnreadableFileIsKeptCopiedAndHoldsTheIconCleanup)
{
    const std::vector<QByteArray> unreadable{
        "[[{\"id\": \"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B\", \"label\"", // truncated mid-write
        R"([[{"id":"0F2B5C1E-9A3D-4E6F-8B7A-1C2D3E4F5A6B","label":"","icon":{"auto":{}},"action":{"teleport":{}}}]])",
        "[[\xff\xfe\xfd]]", // not UTF-8
        QByteArray(5000, '['),
        QByteArray(TileStore::maxLayoutBytes + 1, ' '), // too large to be read at all
    };
    for (const QByteArray& bytes : unreadable) {
        QDir(m_paths.supportDir()).removeRecursively();
        writeFile(m_paths.iconsDir() + QStringLiteral("/logo.png"), "png");
        writeFile(m_paths.tilesFile(), bytes);
        m_starterTiles = {snippetTile(QStringLiteral("never"))};
        TileStore& store = makeStore();

        EXPECT_FALSE(store.loadedFromDisk());
        ASSERT_EQ(store.pages().size(), 1u);
        EXPECT_TRUE(isEmptyPage(store.pages()[0], 9));
        EXPECT_EQ(readFile(m_paths.tilesFile()), bytes);
        EXPECT_EQ(readFile(m_paths.unreadableTilesFile()), bytes);
        EXPECT_TRUE(IconCleanup::isHeld(m_paths));
        EXPECT_EQ(m_starterLimitAsked, -1) << "an unreadable layout never brings the starter deck";

        // The first save backs the unreadable bytes up before replacing them.
        store.set(snippetTile(QStringLiteral("new")), 0, 0);
        ASSERT_TRUE(store.savePendingChange());
        ASSERT_EQ(backupNames().size(), 1);
        EXPECT_EQ(readFile(m_paths.backupsDir() + QLatin1Char('/') + backupNames().first()), bytes);
        m_clock.advance(1);
    }
}

class TileStoreEditing : public StoreFixture {
protected:
    void SetUp() override
    {
        // Three pages; slot 0 of each names its page.
        writeFile(m_paths.tilesFile(), layoutOf({{snippetTile(QStringLiteral("p0"))},
                                                 {snippetTile(QStringLiteral("p1"))},
                                                 {snippetTile(QStringLiteral("p2"))}}));
        makeStore();
    }

    [[nodiscard]] QStringList pageNames() const
    {
        QStringList names;
        for (const Page& page : m_store->pages())
            names << page[0].action->as<TileAction::Snippet>()->text;
        return names;
    }
};

TEST_F(TileStoreEditing, PaddingFollowsTheGridAndNeverRemovesTiles)
{
    std::vector<Origin> origins;
    QObject::connect(m_store.get(), &TileStore::pagesChanged,
                     [&](Origin origin) { origins.push_back(origin); });
    m_settings->setGridColumns(4);
    EXPECT_EQ(m_store->pages()[2].size(), 12u);
    m_settings->setGridRows(2);
    m_settings->setGridColumns(3);
    EXPECT_EQ(m_store->pages()[2].size(), 12u);
    EXPECT_EQ(origins, (std::vector<Origin>{Origin::grid, Origin::grid, Origin::grid}));

    m_settings->setGrid(3, 4);
    m_settings->setGrid(4, 3);
    EXPECT_EQ(m_store->pages()[2].size(), 12u) << "never padded to the 4 × 4 between the two grids";
    m_settings->setGrid(4, 3);
    EXPECT_EQ(origins.size(), 5u) << "an unchanged grid is no change";

    m_store->replace({{snippetTile(QStringLiteral("x"))}}, Origin::import);
    EXPECT_EQ(m_store->pages()[0].size(), 12u);
    m_store->replace({}, Origin::import);
    EXPECT_EQ(m_store->pages().size(), 1u) << "an empty replacement is ignored";
}

TEST_F(TileStoreEditing, EveryChangeSaysWhereItCameFrom)
{
    std::vector<Origin> origins;
    QObject::connect(m_store.get(), &TileStore::pagesChanged,
                     [&](Origin origin) { origins.push_back(origin); });
    m_store->set(snippetTile(QStringLiteral("a")), 0, 0);
    m_store->swapTiles(0, 0, 1, 1);
    m_store->addPage();
    m_store->movePage(0, 1);
    m_store->deleteCurrentPage();
    m_store->replace({{snippetTile(QStringLiteral("imported"))}}, Origin::import);
    m_store->replace({{snippetTile(QStringLiteral("synced"))}}, Origin::cloud);
    const QString backup = m_paths.home + QStringLiteral("/backup.json");
    writeFile(backup, layoutOf({{snippetTile(QStringLiteral("r0"))}}));
    ASSERT_TRUE(m_store->restore(backup));

    EXPECT_EQ(origins, (std::vector<Origin>{Origin::user, Origin::user, Origin::user, Origin::user,
                                            Origin::user, Origin::import, Origin::cloud, Origin::restore}));
}

TEST_F(TileStoreEditing, PageOperationsKeepTheCurrentPageInRangeAndTrackDirection)
{
    m_store->movePage(0, 2);
    EXPECT_EQ(pageNames(), (QStringList{QStringLiteral("p1"), QStringLiteral("p2"), QStringLiteral("p0")}));
    EXPECT_EQ(m_store->currentPage(), 2);
    EXPECT_EQ(m_store->pageDirection(), 1);

    m_store->deleteCurrentPage();
    EXPECT_EQ(m_store->currentPage(), 1);
    EXPECT_EQ(m_store->pageDirection(), -1);

    m_store->goToPage(-5);
    EXPECT_EQ(m_store->currentPage(), 0);
    m_store->goToPage(99);
    EXPECT_EQ(m_store->currentPage(), 1);
    m_store->goToPage(1);
    EXPECT_EQ(m_store->pageDirection(), 1) << "staying on a page keeps the direction";

    m_store->addPage();
    EXPECT_EQ(m_store->currentPage(), 2);
    EXPECT_TRUE(isEmptyPage(m_store->pages()[2], 9));

    m_store->deleteCurrentPage();
    m_store->deleteCurrentPage();
    m_store->deleteCurrentPage();
    EXPECT_EQ(m_store->pages().size(), 1u) << "the last page stays";
    EXPECT_EQ(m_store->currentPage(), 0);
}

TEST_F(TileStoreEditing, ABurstOfChangesIsWrittenOnceAfterTheDelay)
{
    const QByteArray original = readFile(m_paths.tilesFile());
    int published = 0;
    QObject::connect(m_store.get(), &TileStore::pagesChanged, [&] { ++published; });
    for (int i = 0; i < 10; ++i)
        m_store->set(snippetTile(QString::number(i)), 0, i % 9);

    EXPECT_EQ(published, 10);
    EXPECT_TRUE(m_store->isSavePending());
    EXPECT_EQ(readFile(m_paths.tilesFile()), original) << "nothing is written before the delay";

    ASSERT_TRUE(m_store->savePendingChange());
    EXPECT_EQ(decodeFile(readFile(m_paths.tilesFile())), m_store->pages());
    EXPECT_EQ(backupNames().size(), 1);
    EXPECT_FALSE(m_store->isSavePending());
    EXPECT_TRUE(m_store->savePendingChange()) << "nothing left to write";
    EXPECT_EQ(backupNames().size(), 1);
}

TEST_F(TileStoreEditing, AFullDiskLeavesThePreviousLayoutIntact)
{
    // A file size limit makes every write past it fail as a full disk would, even for root.
    const QByteArray before = readFile(m_paths.tilesFile());
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = original;
    tight.rlim_cur = static_cast<rlim_t>(before.size() / 2);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);

    m_store->set(snippetTile(QStringLiteral("lost in a full disk")), 0, 1);
    const bool saved = m_store->savePendingChange();

    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(m_store->isSavePending()) << "the change waits for the next save";
    EXPECT_EQ(readFile(m_paths.tilesFile()), before);
    EXPECT_EQ(m_store->tile(0, 1).action, snippetTile(QStringLiteral("lost in a full disk")).action);
    EXPECT_TRUE(m_store->savePendingChange());
}

TEST_F(TileStoreEditing, RestoreReplacesTheDeckOnlyFromAValidLayout)
{
    m_store->goToPage(2);
    const QString backup = m_paths.home + QStringLiteral("/backup.json");
    for (const QByteArray& bad : {QByteArray("[]"), QByteArray("{\"pages\":1}"), QByteArray("[[{]]")}) {
        writeFile(backup, bad);
        EXPECT_FALSE(m_store->restore(backup));
    }
    EXPECT_FALSE(m_store->restore(m_paths.home + QStringLiteral("/missing.json")));
    EXPECT_EQ(pageNames().size(), 3);
    EXPECT_FALSE(m_store->isSavePending());

    writeFile(backup, layoutOf({{snippetTile(QStringLiteral("r0"))}, {snippetTile(QStringLiteral("r1"))}}));
    ASSERT_TRUE(m_store->restore(backup));
    EXPECT_EQ(pageNames(), (QStringList{QStringLiteral("r0"), QStringLiteral("r1")}));
    EXPECT_EQ(m_store->currentPage(), 1);
    EXPECT_EQ(m_store->pages()[1].size(), 9u);
    EXPECT_TRUE(m_store->isSavePending());
}

class TileStoreArtwork : public StoreFixture {
protected:
    void SetUp() override
    {
        Tile album;
        album.action = TileAction{TileAction::PlayAlbum{QStringLiteral("Blue"), QStringLiteral("Joni")}};
        Tile playlist;
        playlist.action = TileAction{TileAction::PlayPlaylist{QStringLiteral("Chill")}};
        Tile symbolPlaylist = playlist;
        symbolPlaylist.icon =
            TileIcon{TileIcon::Symbol{QStringLiteral("music.note"), QStringLiteral("#FFFFFF")}};
        writeFile(m_paths.tilesFile(),
                  layoutOf({{album, snippetTile(QStringLiteral("s")), symbolPlaylist}, {Tile{}, playlist}}));
        makeStore();
    }
};

TEST_F(TileStoreArtwork, FetchesOnlyForAutomaticMusicTilesAndNeverStartsThePlayer)
{
    m_music.fetchesWithoutStarting = false;
    m_store->fetchAllMissingPlaylistArtwork();
    EXPECT_TRUE(m_music.requests.isEmpty());

    m_music.fetchesWithoutStarting = true;
    m_store->fetchAllMissingPlaylistArtwork();
    EXPECT_EQ(m_music.requests,
              (QStringList{QStringLiteral("album:Blue/Joni"), QStringLiteral("playlist:Chill")}));

    m_store->fetchArtworkIfNeeded(0, 1);
    m_store->fetchArtworkIfNeeded(0, 2);
    EXPECT_EQ(m_music.requests.size(), 2);
}

TEST_F(TileStoreArtwork, AnAnswerIsAppliedAsAnArtworkChangeUnlessTheTileChanged)
{
    std::vector<Origin> origins;
    QObject::connect(m_store.get(), &TileStore::pagesChanged,
                     [&](Origin origin) { origins.push_back(origin); });
    m_store->fetchArtworkIfNeeded(0, 0);
    m_store->fetchArtworkIfNeeded(1, 1);
    m_store->fetchArtworkIfNeeded(0, 0);
    ASSERT_EQ(m_music.handlers.size(), 3u);

    m_music.handlers[0](QStringLiteral("art.png"));
    EXPECT_EQ(m_store->tile(0, 0).icon, TileIcon{TileIcon::Custom{QStringLiteral("art.png")}});
    EXPECT_EQ(origins, std::vector<Origin>{Origin::artwork});

    // The user changed the playlist meanwhile: the late answer is dropped.
    Tile edited = m_store->tile(1, 1);
    edited.action = TileAction{TileAction::PlayPlaylist{QStringLiteral("Other")}};
    m_store->set(edited, 1, 1);
    m_music.handlers[1](QStringLiteral("late.png"));
    EXPECT_TRUE(m_store->tile(1, 1).icon.isAuto());

    // The icon is no longer automatic: dropped too. No answer, or no store, changes nothing.
    m_music.handlers[2](QStringLiteral("again.png"));
    EXPECT_EQ(m_store->tile(0, 0).icon, TileIcon{TileIcon::Custom{QStringLiteral("art.png")}});
    m_store->fetchArtworkIfNeeded(1, 1);
    m_music.handlers[3](std::nullopt);
    EXPECT_TRUE(m_store->tile(1, 1).icon.isAuto());
    m_store.reset();
    m_music.handlers[3](QStringLiteral("gone.png"));
}
