#include "platform/linux/music/MusicFolder.h"

#include "support/TaggedAudio.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <sys/stat.h>
#include <unistd.h>

static void PrintTo(const AlbumEntry& album, std::ostream* out)
{
    *out << album.name.toStdString() << " by " << album.artist.toStdString();
}

namespace {

using TaggedAudio::Tags;

class MusicFolderTest : public TempHome {
protected:
    QString m_music = m_paths.home + QStringLiteral("/Music");
    std::vector<MusicFolder::Job> m_jobs;

    // A folder whose background work waits in m_jobs until settle() runs it. Its covers become "icon of"
    // their bytes; bytes that say they are no picture become nothing.
    [[nodiscard]] std::unique_ptr<MusicFolder> folder()
    {
        return std::make_unique<MusicFolder>(
            m_music, m_paths.iconsDir(),
            [](const QByteArray& picture) -> std::optional<QByteArray> {
                if (picture == "no picture")
                    return std::nullopt;
                return "icon of " + picture;
            },
            nullptr, [this](MusicFolder::Job job) { m_jobs.push_back(std::move(job)); });
    }

    // Runs the background work and the answers it posts, and whatever work those answers start.
    void settle()
    {
        while (!m_jobs.empty()) {
            for (const MusicFolder::Job& job : std::exchange(m_jobs, {}))
                job();
            QCoreApplication::processEvents();
        }
    }

    void mp3(const char* path, const Tags& tags) const
    {
        ASSERT_TRUE(TaggedAudio::writeMp3(m_music + u'/' + QLatin1String(path), tags)) << path;
    }

    [[nodiscard]] std::vector<AlbumEntry> albums(MusicFolder& music)
    {
        std::vector<AlbumEntry> answer{{QStringLiteral("unanswered"), {}}};
        music.albums([&answer](std::vector<AlbumEntry> albums) { answer = std::move(albums); });
        settle();
        return answer;
    }

    template <typename Answer, typename Call>
    [[nodiscard]] std::optional<Answer> answerOf(Call call)
    {
        std::optional<Answer> answer;
        call([&answer](Answer value) { answer = std::move(value); });
        settle();
        return answer;
    }
};

TEST_F(MusicFolderTest, AlbumsGroupByAlbumArtistElseTrackArtistIgnoringCaseSortedByName)
{
    mp3("Joni/Blue/1.mp3",
        Tags(QStringLiteral("Blue"), QStringLiteral("Joni & Band"), QStringLiteral("Joni")));
    mp3("Joni/Blue/2.mp3", Tags(QStringLiteral("BLUE "), QStringLiteral("joni")));
    mp3("Miles/Blue/1.mp3", Tags(QStringLiteral("Blue"), QStringLiteral("Miles")));
    mp3("Zed/01.mp3", Tags(QStringLiteral("Zebra"), QStringLiteral("Zed")));
    ASSERT_TRUE(TaggedAudio::writeFlac(
        m_music + QStringLiteral("/apple.flac"),
        Tags(QStringLiteral("apple"), QStringLiteral("Track"), QStringLiteral("Various"))));
    mp3("untagged.mp3", Tags({}, QStringLiteral("No Album")));

    const auto music = folder();
    EXPECT_TRUE(m_jobs.empty()) << "nothing is read before it is needed";
    EXPECT_EQ(albums(*music), (std::vector<AlbumEntry>{{QStringLiteral("apple"), QStringLiteral("Various")},
                                                       {QStringLiteral("Blue"), QStringLiteral("Joni")},
                                                       {QStringLiteral("Blue"), QStringLiteral("Miles")},
                                                       {QStringLiteral("Zebra"), QStringLiteral("Zed")}}));
}

TEST_F(MusicFolderTest, WhatIsNoReadableVisibleAudioFileIsLeftOutAndLinksDoNotLoop)
{
    const Tags tagged(QStringLiteral("Hidden"), QStringLiteral("A"));
    mp3(".hidden/1.mp3", tagged);
    mp3(".2.mp3", tagged);
    ASSERT_TRUE(TaggedAudio::writeMp3(m_music + QStringLiteral("/notes.txt"), tagged));
    writeFile(m_music + QStringLiteral("/empty.mp3"), {});
    writeFile(m_music + QStringLiteral("/garbage.flac"), QByteArray(5000, '\x5A'));
    writeFile(m_music + QStringLiteral("/truncated.m4a"), QByteArray("\0\0\0\x20"
                                                                     "ftypM4A ",
                                                                     12));
    ASSERT_EQ(mkfifo(QFile::encodeName(m_music + QStringLiteral("/pipe.mp3")).constData(), 0600), 0);
    QFile::link(m_music + QStringLiteral("/gone.mp3"), m_music + QStringLiteral("/dangling.mp3"));
    mp3("Real/1.mp3", Tags(QStringLiteral("Real"), QStringLiteral("B")));
    QFile::link(m_music, m_music + QStringLiteral("/Real/loop"));

    const auto music = folder();
    EXPECT_EQ(albums(*music), (std::vector<AlbumEntry>{{QStringLiteral("Real"), QStringLiteral("B")}}));
}

TEST_F(MusicFolderTest, UnreadableFileIsLeftOut)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    mp3("locked.mp3", Tags(QStringLiteral("Locked"), QStringLiteral("A")));
    ASSERT_TRUE(QFile::setPermissions(m_music + QStringLiteral("/locked.mp3"), {}));
    const auto music = folder();
    EXPECT_TRUE(albums(*music).empty());
}

TEST_F(MusicFolderTest, QueueHoldsTheTracksByDiscThenTrackThenFileName)
{
    const auto track = [](const char* disc, int number) {
        return Tags(QStringLiteral("Set"), QStringLiteral("Band"), {}, QLatin1String(disc), number);
    };
    mp3("Set/CD2/x.mp3", track("2/2", 1));
    mp3("Set/CD1/c.mp3", track("1/2", 2));
    mp3("Set/CD1/b.mp3", track("1", 1));
    mp3("Set/CD1/a.mp3", track("1", 1));
    mp3("Other.mp3", Tags(QStringLiteral("Other"), QStringLiteral("Band")));
    const QString queue = m_paths.supportDir() + QStringLiteral("/queue.m3u8");
    const QString set = m_music + QStringLiteral("/Set");
    const QByteArray expected =
        "#EXTM3U\n" + (QStringList{set + QStringLiteral("/CD1/a.mp3"), set + QStringLiteral("/CD1/b.mp3"),
                                   set + QStringLiteral("/CD1/c.mp3"), set + QStringLiteral("/CD2/x.mp3")}
                           .join(u'\n') +
                       u'\n')
                          .toUtf8();
    const auto music = folder();
    struct Case {
        const char* album;
        const char* artist;
        bool written;
    };
    for (const Case& c : {Case{"sET", "BAND", true}, Case{"Set", "", true}, Case{"Set", "Nobody", true},
                          Case{"Nothing", "", false}}) {
        QFile::remove(queue);
        EXPECT_EQ(answerOf<bool>([&](auto handler) {
                      music->writeQueue(QLatin1String(c.album), QLatin1String(c.artist), queue, handler);
                  }),
                  c.written)
            << c.album << " " << c.artist;
        EXPECT_EQ(readFile(queue), c.written ? expected : QByteArray());
    }
    writeFile(m_paths.home + QStringLiteral("/file"), "x");
    EXPECT_EQ(answerOf<bool>([&](auto handler) {
                  music->writeQueue(QStringLiteral("Set"), {}, m_paths.home + QStringLiteral("/file/q.m3u8"),
                                    handler);
              }),
              false);
}

TEST_F(MusicFolderTest, ArtworkIsTheEmbeddedPictureElseTheFolderCoverMadeIntoAnIcon)
{
    mp3("Embedded/1.mp3", Tags(QStringLiteral("Embedded"), QStringLiteral("A"), {}, {}, 0, "mp3 art"));
    ASSERT_TRUE(
        TaggedAudio::writeFlac(m_music + QStringLiteral("/Flac/1.flac"),
                               Tags(QStringLiteral("Flac"), QStringLiteral("A"), {}, {}, 0, "flac art")));
    mp3("Folder/1.mp3", Tags(QStringLiteral("Folder"), QStringLiteral("A")));
    writeFile(m_music + QStringLiteral("/Folder/Cover.JPG"), "folder art");
    writeFile(m_music + QStringLiteral("/Folder/front.png"), "less wanted art");
    mp3("Bare/1.mp3", Tags(QStringLiteral("Bare"), QStringLiteral("A")));
    mp3("Broken/1.mp3", Tags(QStringLiteral("Broken"), QStringLiteral("A"), {}, {}, 0, "no picture"));

    const auto music = folder();
    const QRegularExpression iconName(
        QStringLiteral("^album-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\\.png$"));
    struct Case {
        const char* album;
        QByteArray art;
    };
    for (const Case& c : {Case{"Embedded", "mp3 art"}, Case{"Flac", "flac art"}, Case{"Folder", "folder art"},
                          Case{"Bare", {}}, Case{"Broken", {}}, Case{"Missing", {}}}) {
        const auto name = answerOf<std::optional<QString>>(
            [&](auto handler) { music->fetchArtwork(QLatin1String(c.album), QStringLiteral("a"), handler); });
        ASSERT_TRUE(name) << c.album;
        EXPECT_EQ(name->has_value(), !c.art.isEmpty()) << c.album;
        if (*name) {
            EXPECT_TRUE(iconName.match(**name).hasMatch()) << (*name)->toStdString();
            EXPECT_EQ(readFile(m_paths.iconsDir() + u'/' + **name), "icon of " + c.art);
        }
    }
}

TEST_F(MusicFolderTest, CallsDuringAScanWaitForItAndAChangeScansAgain)
{
    mp3("One/1.mp3", Tags(QStringLiteral("One"), QStringLiteral("A")));
    const auto music = folder();
    music->rescan();
    EXPECT_TRUE(m_jobs.empty()) << "no scan before the albums are first asked for";

    std::vector<std::vector<AlbumEntry>> answers;
    for (int i = 0; i < 2; ++i)
        music->albums([&answers](std::vector<AlbumEntry> albums) { answers.push_back(std::move(albums)); });
    EXPECT_EQ(m_jobs.size(), 1u) << "one scan serves both";
    settle();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], answers[1]);
    EXPECT_EQ(answers[0].size(), 1u);

    EXPECT_EQ(albums(*music).size(), 1u);
    EXPECT_TRUE(m_jobs.empty()) << "an unchanged folder is not scanned again";
    mp3("Two/1.mp3", Tags(QStringLiteral("Two"), QStringLiteral("A")));
    music->rescan();
    EXPECT_EQ(albums(*music).size(), 2u);
}

TEST_F(MusicFolderTest, AFolderDestroyedDuringItsScanIsNeverAnswered)
{
    mp3("One/1.mp3", Tags(QStringLiteral("One"), QStringLiteral("A")));
    auto music = folder();
    bool answered = false;
    music->albums([&answered](std::vector<AlbumEntry>) { answered = true; });
    music.reset();
    settle();
    EXPECT_FALSE(answered);
}

TEST_F(MusicFolderTest, MusicFolderComesFromTheUserDirectories)
{
    EXPECT_EQ(MusicFolder::userMusicFolder(m_paths), m_paths.home + QStringLiteral("/Music"));
    writeFile(m_paths.configHome + QStringLiteral("/user-dirs.dirs"), "XDG_MUSIC_DIR=\"$HOME/Tunes\"\n");
    EXPECT_EQ(MusicFolder::userMusicFolder(m_paths), m_paths.home + QStringLiteral("/Tunes"));
}

} // namespace
