#include "platform/macos/AppleScriptMusic.h"

#include "core/BackgroundQueue.h"
#include "platform/macos/MusicScripts.h"
#include "support/FakeProcessRunner.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const AlbumEntry& album, std::ostream* out)
{
    *out << album.name.toStdString() << " / " << album.artist.toStdString();
}

namespace {

const QString osascript = QStringLiteral("/usr/bin/osascript");
const QString e = QStringLiteral("-e");

// Stands in for osascript, and for the file the artwork scripts write: `artwork`, when set, lands at the
// path the script opens for access.
class ScriptRunner final : public ProcessRunner {
public:
    FakeProcessRunner fake;
    std::optional<QByteArray> artwork;

    std::optional<QString> capture(const QString& executable, const QStringList& arguments) override
    {
        static const QRegularExpression target(QStringLiteral("POSIX file \"([^\"]*)\""));
        const QRegularExpressionMatch match = target.match(arguments.value(1));
        if (artwork && match.hasMatch()) {
            QFile file(match.captured(1));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(*artwork);
        }
        return fake.capture(executable, arguments);
    }
    void fireAndForget(const QString& executable, const QStringList& arguments) override
    {
        fake.fireAndForget(executable, arguments);
    }
};

// Answers osascript run with these scripts, each after its own "-e".
void answer(ScriptRunner& processes, const QStringList& scripts, const QString& output)
{
    QString commandLine = osascript;
    for (const QString& script : scripts)
        commandLine += QLatin1Char(' ') + e + QLatin1Char(' ') + script;
    processes.fake.answer(commandLine, output);
}

// Lets the background job finish and delivers its answer.
template <typename Answer, typename Fetch>
std::optional<Answer> answerOf(Fetch fetch)
{
    std::optional<Answer> answer;
    fetch([&answer](Answer value) { answer = std::move(value); });
    BackgroundQueue::waitForDone();
    QCoreApplication::sendPostedEvents();
    return answer;
}

class AppleScriptMusicTest : public TempHome {
protected:
    ScriptRunner m_processes;
    AppleScriptMusic m_music{m_processes, m_paths, [] { return true; }};
};

TEST_F(AppleScriptMusicTest, CommandsFireTheirOwnScriptsWithNamesEscaped)
{
    m_music.play(QStringLiteral("Say \"Hi\" \\ Bye\nTwo"), QStringLiteral("AC\\DC"));
    m_music.playPlaylist(QStringLiteral("Road \"Trip\" \\ 2"));
    m_music.playPause();
    m_music.nextTrack();
    m_music.previousTrack();

    const std::vector<FakeProcessRunner::Call> calls = m_processes.fake.calls();
    ASSERT_EQ(calls.size(), 5U);
    EXPECT_TRUE(calls[0].arguments.at(1).contains(
        QStringLiteral("set alb to \"Say \\\"Hi\\\" \\\\ Bye\nTwo\"\n    set art to \"AC\\\\DC\"\n")));
    EXPECT_EQ(
        calls[1].arguments.at(1),
        QStringLiteral("tell application \"Music\" to play user playlist \"Road \\\"Trip\\\" \\\\ 2\""));
    const QStringList transport{MusicScripts::playPause(), MusicScripts::nextTrack(),
                                MusicScripts::previousTrack()};
    for (int i = 0; i < transport.size(); ++i)
        EXPECT_EQ(calls[2 + i], (FakeProcessRunner::Call{osascript, {e, transport[i]}, false})) << i;
}

TEST_F(AppleScriptMusicTest, PlaylistsAreTrimmedNonBlankLinesInMusicsOrder)
{
    const auto playlists = [this] {
        return answerOf<QStringList>([this](auto handler) { m_music.fetchPlaylists(handler); }).value();
    };
    EXPECT_EQ(playlists(), QStringList());

    answer(m_processes, MusicScripts::playlists(), QStringLiteral(" Road Trip \n\nChill\t\n \t\nChill\n"));
    EXPECT_EQ(playlists(),
              (QStringList{QStringLiteral("Road Trip"), QStringLiteral("Chill"), QStringLiteral("Chill")}));
}

TEST_F(AppleScriptMusicTest, AlbumsAreReadFromEitherScriptAndSorted)
{
    struct Case {
        const char* what;
        std::optional<QString> full;
        std::optional<QString> names;
        std::vector<AlbumEntry> expected;
    };
    const auto album = [](const char* name, const char* artist) {
        return AlbumEntry{QString::fromUtf8(name), QString::fromUtf8(artist)};
    };
    const std::vector<Case> cases{
        {"blank album artists give way to track artists",
         QStringLiteral(
             " Kind of Blue \n\nBlue\n===SEP===\nMiles Davis\nX\n \t\n===SEP===\nMiles\nY\nJoni\n"),
         std::nullopt,
         {album("Blue", "Joni"), album("Kind of Blue", "Miles Davis")}},
        {"sections of other lengths give no artists",
         QStringLiteral("Blue\nKind of Blue\n===SEP===\nJoni\n===SEP===\nJoni\nMiles"),
         std::nullopt,
         {album("Blue", ""), album("Kind of Blue", "")}},
        {"a failing full script falls back to the names",
         std::nullopt,
         QStringLiteral("Kind of Blue\nBlue\n"),
         {album("Blue", ""), album("Kind of Blue", "")}},
        {"a full script with nothing in it falls back to the names",
         QStringLiteral("\n\n===SEP===\n\n"),
         QStringLiteral("Blue"),
         {album("Blue", "")}},
        {"one title by two artists is two albums, letter case alone is not",
         QStringLiteral("Hits\nHits\nBlue\nBLUE\n===SEP===\nAnn\nBob\nJoni\nJONI\n===SEP===\nAnn\nBob\nx\ny"),
         std::nullopt,
         {album("Blue", "Joni"), album("Hits", "Ann"), album("Hits", "Bob")}},
        {"equal names keep their order",
         QStringLiteral("beta\nAlpha\nalpha\n===SEP===\nX\nY\nZ\n===SEP===\nX\nY\nZ"),
         std::nullopt,
         {album("Alpha", "Y"), album("alpha", "Z"), album("beta", "X")}},
        {"no answer at all gives no albums", std::nullopt, std::nullopt, {}},
        {"garbage gives no albums", QStringLiteral("\n \t\n"), QStringLiteral("\r\n"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptRunner processes;
        AppleScriptMusic music(processes, m_paths, [] { return true; });
        if (c.full)
            answer(processes, {MusicScripts::albums()}, *c.full);
        if (c.names)
            answer(processes, {MusicScripts::albumNames()}, *c.names);
        EXPECT_EQ(answerOf<std::vector<AlbumEntry>>([&music](auto handler) { music.fetchAlbums(handler); }),
                  c.expected);
    }
}

TEST_F(AppleScriptMusicTest, NowPlayingNeedsAllFourLines)
{
    struct Case {
        std::optional<QString> output;
        std::optional<NowPlayingInfo> expected;
    };
    const auto info = [](bool playing, const char* track, const char* artist, const char* id) {
        return NowPlayingInfo{playing, QString::fromUtf8(track), QString::fromUtf8(artist),
                              QString::fromUtf8(id)};
    };
    const std::vector<Case> cases{
        {QStringLiteral("playing\nSo What\nMiles Davis\n42\n"), info(true, "So What", "Miles Davis", "42")},
        {QStringLiteral(" paused\t\n So What \nMiles Davis\n42"),
         info(false, "So What", "Miles Davis", "42")},
        {QStringLiteral("stopped\n\n\n\n"), info(false, "", "", "")},
        {QStringLiteral("playing\nSo What\nMiles Davis\n"), std::nullopt},
        {QStringLiteral(""), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output.value_or(QStringLiteral("(no answer)")).toStdString());
        ScriptRunner processes;
        AppleScriptMusic music(processes, m_paths, [] { return true; });
        if (c.output)
            answer(processes, {MusicScripts::nowPlaying()}, *c.output);
        const auto answered = answerOf<std::optional<NowPlayingInfo>>(
            [&music](auto handler) { music.fetchNowPlaying(handler); });
        ASSERT_TRUE(answered);
        EXPECT_EQ(*answered, c.expected);
    }
}

TEST_F(AppleScriptMusicTest, IconArtworkIsKeptOnlyWhenTheScriptWroteSomething)
{
    for (const std::optional<QByteArray>& artwork :
         {std::optional(QByteArray("\x89PNG")), std::optional(QByteArray()), std::optional<QByteArray>()}) {
        SCOPED_TRACE(artwork ? artwork->size() : -1);
        ScriptRunner processes;
        processes.artwork = artwork;
        AppleScriptMusic music(processes, m_paths, [] { return true; });
        const auto name = answerOf<std::optional<QString>>(
            [&music](auto handler) { music.fetchArtwork(QStringLiteral("Say \"Hi\""), QString(), handler); });
        ASSERT_TRUE(name);
        const QStringList left = QDir(m_paths.iconsDir()).entryList(QDir::Files);
        if (artwork && !artwork->isEmpty()) {
            ASSERT_TRUE(*name);
            EXPECT_TRUE(
                QRegularExpression(QStringLiteral("^album-[0-9A-F-]{36}\\.png$")).match(**name).hasMatch());
            EXPECT_EQ(readFile(m_paths.iconsDir() + QLatin1Char('/') + **name), *artwork);
            const QString script = processes.fake.calls().at(0).arguments.at(1);
            EXPECT_TRUE(script.contains(QStringLiteral("set alb to \"Say \\\"Hi\\\"\"\n")));
            EXPECT_TRUE(
                script.contains(QStringLiteral("POSIX file \"%1/%2\"").arg(m_paths.iconsDir(), **name)));
            QFile::remove(m_paths.iconsDir() + QLatin1Char('/') + **name);
        } else {
            EXPECT_EQ(*name, std::nullopt);
            EXPECT_EQ(left, QStringList());
        }
    }

    m_processes.artwork = QByteArray("GIF8");
    const auto name = answerOf<std::optional<QString>>(
        [this](auto handler) { m_music.fetchArtwork(QStringLiteral("Road Trip"), handler); });
    ASSERT_TRUE(name && *name);
    EXPECT_TRUE(name->value().startsWith(QStringLiteral("playlist-")));
    const QString script = m_processes.fake.calls().at(0).arguments.at(1);
    EXPECT_TRUE(script.contains(QStringLiteral("set thePlaylist to user playlist \"Road Trip\"")));
    EXPECT_TRUE(script.contains(QStringLiteral("POSIX file \"%1/%2\"").arg(m_paths.iconsDir(), **name)));
}

TEST_F(AppleScriptMusicTest, NowPlayingArtworkIsNeverAStalePicture)
{
    const QString path = m_paths.supportDir() + QStringLiteral("/nowplaying-art.png");
    const auto fetch = [this] {
        return answerOf<std::optional<QString>>(
                   [this](auto handler) { m_music.fetchNowPlayingArtwork(handler); })
            .value();
    };
    m_processes.artwork = QByteArray("\x89PNG");
    EXPECT_EQ(fetch(), path);
    EXPECT_TRUE(m_processes.fake.calls().back().arguments.at(1).contains(
        QStringLiteral("raw data of artwork 1 of current track")));
    EXPECT_TRUE(m_processes.fake.calls().back().arguments.at(1).contains(
        QStringLiteral("POSIX file \"%1\"").arg(path)));

    m_processes.artwork.reset();
    EXPECT_EQ(fetch(), std::nullopt);
}

TEST_F(AppleScriptMusicTest, AnswersForAGoneBridgeAreDropped)
{
    bool answered = false;
    auto music = std::make_unique<AppleScriptMusic>(m_processes, m_paths, [] { return true; });
    music->fetchPlaylists([&answered](const QStringList&) { answered = true; });
    music.reset();
    BackgroundQueue::waitForDone();
    QCoreApplication::sendPostedEvents();
    EXPECT_FALSE(answered);
}

} // namespace
