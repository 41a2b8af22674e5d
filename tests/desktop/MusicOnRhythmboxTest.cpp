// End to end with a real player that has playlists: Rhythmbox with its MPRIS plugin on a private X server and
// session bus, playing through a real PipeWire, its library two silent tracks in the music folder. The real
// deck plays one of Rhythmbox's own playlists from a tile, shows what plays, and pauses and skips it.
#include "DesktopChecks.h"
#include "support/DeckProcess.h"
#include "support/EnvironmentGuard.h"
#include "support/Eventually.h"
#include "support/MprisProbe.h"
#include "support/PipeWireServer.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/SilentOgg.h"
#include "support/TempHome.h"
#include "support/TestPrograms.h"
#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <QUrl>
#include <functional>

namespace {

const QString rhythmboxService = QStringLiteral("org.mpris.MediaPlayer2.rhythmbox");
const QString pluginsDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/rhythmbox/plugins");
const QString mprisPlugin = pluginsDir + QStringLiteral("/mpris/mpris.plugin");
const QString playlist = QStringLiteral("Recently Added");

// Every plugin installed, as Rhythmbox's settings name them: a plugin it has not seen yet it switches on.
QString installedPlugins()
{
    static const QRegularExpression module(QStringLiteral("^Module=(\\S+)$"),
                                           QRegularExpression::MultilineOption);
    QStringList names;
    for (const QFileInfo& plugin :
         QDir(pluginsDir).entryInfoList({QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QFileInfo& file : QDir(plugin.filePath()).entryInfoList({QStringLiteral("*.plugin")})) {
            QFile text(file.filePath());
            if (text.open(QIODevice::ReadOnly))
                names << u'\'' + module.match(QString::fromUtf8(text.readAll())).captured(1) + u'\'';
        }
    }
    return names.join(QStringLiteral(", "));
}

QString tile(const QString& label, const QString& action)
{
    return QStringLiteral(R"({"label": "%1", "icon": {"auto": {}}, "action": %2})").arg(label, action);
}

class MusicOnRhythmbox : public TempHome {
protected:
    void SetUp() override
    {
        QStringList missing = XvfbSession::missingPrograms() + PipeWireServer::missingPrograms() +
                              TestPrograms::missing({QStringLiteral("rhythmbox"), QStringLiteral("oggenc")});
        if (!QFile::exists(mprisPlugin))
            missing << QStringLiteral("rhythmbox-plugins");
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
        ASSERT_TRUE(m_sound.start()) << m_sound.error().toStdString();
        ASSERT_TRUE(m_sound.addSink(QStringLiteral("speakers"), QStringLiteral("Speakers")));

        for (const auto& [file, title, number] :
             {std::tuple{"a.ogg", "First Light", 1}, std::tuple{"b.ogg", "Second Light", 2}}) {
            const QString problem =
                SilentOgg::write(m_dir.filePath(QStringLiteral("Music/Quiet Hours/") + QLatin1String(file)),
                                 {QLatin1String(title),
                                  QStringLiteral("Ann Rest"),
                                  QStringLiteral("Quiet Hours"),
                                  number,
                                  {}});
            ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
        }

        // A first start on a fresh home, with the music folder for its library, watched so that Rhythmbox
        // reads it at once, and no plugin but MPRIS: those that look up artwork and stations or scrobble
        // would reach out to the network. The settings are a file of the home's own, as the private bus
        // starts no dconf.
        writeFile(
            m_dir.filePath(QStringLiteral(".config/glib-2.0/settings/keyfile")),
            QStringLiteral("[org/gnome/rhythmbox/rhythmdb]\nlocations=['%1']\nmonitor-library=true\n\n"
                           "[org/gnome/rhythmbox/plugins]\nactive-plugins=['mpris']\nseen-plugins=[%2]\n")
                .arg(QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("Music"))).toString(),
                     installedPlugins())
                .toUtf8());
        {
            EnvironmentGuard keyFileSettings;
            keyFileSettings.set("GSETTINGS_BACKEND", "keyfile");
            ASSERT_TRUE(TestPrograms::start(m_player, m_paths.home, QStringLiteral("rhythmbox")));
        }
        ASSERT_TRUE(eventually([this] { return m_mpris.playlists().contains(playlist); }))
            << "Rhythmbox's playlists never came on the bus: "
            << m_mpris.playlists().join(u", ").toStdString();
    }

    void TearDown() override
    {
        m_deck.stop();
        TestPrograms::stop(m_player);
    }

    // What the deck says plays: title and whether it plays; empty while it knows of nothing playing.
    QJsonObject nowPlaying()
    {
        return deckState(m_paths.home).value(QStringLiteral("nowPlaying")).toObject();
    }

    bool deckShows(const QString& title, bool playing)
    {
        return eventually([&] {
            const QJsonObject shown = nowPlaying();
            return shown.value(QStringLiteral("title")).toString() == title &&
                   shown.value(QStringLiteral("isPlaying")).toBool() == playing;
        });
    }

    PrivateSession m_session;
    XvfbSession m_x;
    PipeWireServer m_sound{m_paths.home};
    MprisProbe m_mpris{m_session.connect(), rhythmboxService};
    QProcess m_player;
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home};
};

} // namespace

TEST_F(MusicOnRhythmbox, APlaylistTilePlaysThePlayersPlaylistAndTheNowPlayingTileControlsIt)
{
    setTile(m_paths.home, 0,
            tile(playlist, QStringLiteral(R"({"playPlaylist": {"name": "%1"}})").arg(playlist)));
    setTile(m_paths.home, 1, tile(QStringLiteral("Now Playing"), QStringLiteral(R"({"nowPlaying": {}})")));
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();

    // Rhythmbox reads its library in the background after a first start and tells nobody when it is done;
    // until then, about ten seconds here, its "Recently Added" is empty and plays nothing. The tile is
    // pressed again while it is.
    ASSERT_TRUE(eventually(
        [this] {
            runTile(m_paths.home, 0);
            return eventually([this] { return m_mpris.playbackStatus() == u"Playing"; },
                              std::chrono::seconds(2));
        },
        std::chrono::seconds(60)))
        << "Rhythmbox is " << m_mpris.playbackStatus().toStdString() << "; the deck logged "
        << m_deck.log().toStdString();
    const QString playing = m_mpris.title();
    EXPECT_TRUE(playing == u"First Light" || playing == u"Second Light") << playing.toStdString();
    EXPECT_TRUE(deckShows(playing, true)) << QJsonDocument(nowPlaying()).toJson().toStdString();

    // The now-playing tile pauses what plays, and the deck shows it paused.
    runTile(m_paths.home, 1);
    EXPECT_TRUE(eventually([this] { return m_mpris.playbackStatus() == u"Paused"; }))
        << m_mpris.playbackStatus().toStdString();
    EXPECT_TRUE(deckShows(playing, false)) << QJsonDocument(nowPlaying()).toJson().toStdString();
    // Rhythmbox names no artwork for its playlists with an empty address: that is no artwork, not a strange
    // one.
    EXPECT_FALSE(m_deck.log().contains("artwork not taken from a  address")) << m_deck.log().toStdString();
}
