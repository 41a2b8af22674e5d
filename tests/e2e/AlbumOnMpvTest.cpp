// End to end with a real media player: mpv with its MPRIS plugin on a private session bus, an album of
// tagged Ogg Vorbis files in the music folder, and album tiles set and run through the companion.
#include "support/DeckProcess.h"
#include "support/MprisProbe.h"
#include "support/PrivateSession.h"
#include "support/SilentOgg.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <functional>

namespace {

const QString mprisPlugin = QStringLiteral("/usr/lib/mpv-mpris/mpris.so");
const QString mpvService = QStringLiteral("org.mpris.MediaPlayer2.mpv");

bool waitFor(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(std::chrono::seconds(10));
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

QString albumTile(const QString& album, const QString& artist)
{
    return QStringLiteral(R"({"label": "Album", "icon": {"auto": {}}, )"
                          R"("action": {"playAlbum": {"name": "%1", "artist": "%2"}}})")
        .arg(album, artist);
}

class AlbumOnMpv : public TempHome {
protected:
    void SetUp() override
    {
        for (const char* program : {"mpv", "oggenc"}) {
            if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
                GTEST_SKIP() << "needs " << program;
        }
        if (!QFile::exists(mprisPlugin))
            GTEST_SKIP() << "needs mpv-mpris";
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();

        // File names sort against the track numbers: the queue's order is the tags'.
        encode(QStringLiteral("Music/Quiet Hours/a.ogg"), QStringLiteral("Second Light"), 2);
        encode(QStringLiteral("Music/Quiet Hours/b.ogg"), QStringLiteral("First Light"), 1);
        encode(QStringLiteral("elsewhere.ogg"), QStringLiteral("Elsewhere"), 1);

        // Paused on another file, as a player left by its user is.
        m_mpv.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_mpv.start(QStringLiteral("mpv"),
                    {QStringLiteral("--no-config"), QStringLiteral("--script=") + mprisPlugin,
                     QStringLiteral("--ao=null"), QStringLiteral("--vo=null"), QStringLiteral("--idle=yes"),
                     QStringLiteral("--pause"), QStringLiteral("--really-quiet"),
                     m_dir.filePath(QStringLiteral("elsewhere.ogg"))});
        ASSERT_TRUE(m_mpv.waitForStarted());
        ASSERT_TRUE(waitFor([this] { return title() == u"Elsewhere"; })) << "mpv never came on the bus";
        ASSERT_EQ(property(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
    }

    void TearDown() override
    {
        if (m_mpv.state() == QProcess::NotRunning)
            return;
        m_mpv.terminate();
        if (!m_mpv.waitForFinished(5000))
            m_mpv.kill();
        m_mpv.waitForFinished(5000);
    }

    void encode(const QString& file, const QString& title, int track)
    {
        const QString problem = SilentOgg::write(m_dir.filePath(file), {title, QStringLiteral("Ann Rest"),
                                                                        QStringLiteral("Quiet Hours"), track,
                                                                        QStringLiteral("The Rests")});
        ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    }

    QVariant property(const QString& name) const { return m_mpris.property(name); }
    QString title() const { return m_mpris.title(); }

    // Sets the first tile of the first page and runs it; answers what the companion said.
    QString setAndRun(const QString& tile)
    {
        const DeckRun set =
            runDeck(m_paths.home, {QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("0"), tile});
        EXPECT_EQ(set.status, 0) << set.err.toStdString();
        const DeckRun run =
            runDeck(m_paths.home, {QStringLiteral("run"), QStringLiteral("0"), QStringLiteral("0")});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        return QString::fromUtf8(run.err);
    }

    PrivateSession m_session;
    MprisProbe m_mpris{m_session.connect(), mpvService};
    QProcess m_mpv;
};

} // namespace

TEST_F(AlbumOnMpv, AnAlbumTilePlaysTheAlbumInTrackOrderEvenInAPausedPlayer)
{
    setAndRun(albumTile(QStringLiteral("Quiet Hours"), QStringLiteral("The Rests")));

    const QString folder = m_dir.filePath(QStringLiteral("Music/Quiet Hours"));
    EXPECT_EQ(readFile(m_paths.supportDir() + QStringLiteral("/Marquetto Queue.m3u8")),
              QStringLiteral("#EXTM3U\n%1/b.ogg\n%1/a.ogg\n").arg(folder).toUtf8());
    EXPECT_TRUE(waitFor([this] {
        return title() == u"First Light" &&
               property(QStringLiteral("PlaybackStatus")).toString() == u"Playing";
    })) << "mpv plays "
        << title().toStdString() << ", "
        << property(QStringLiteral("PlaybackStatus")).toString().toStdString();
}

TEST_F(AlbumOnMpv, AnAlbumTheMusicFolderLacksSaysSoInOneLineAndLeavesThePlayerAlone)
{
    const QString said = setAndRun(albumTile(QStringLiteral("Loud Hours"), QStringLiteral("The Rests")));

    const QStringList lines = said.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << said.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("no album Loud Hours by The Rests"))) << said.toStdString();
    EXPECT_EQ(title(), QStringLiteral("Elsewhere"));
    EXPECT_EQ(property(QStringLiteral("PlaybackStatus")).toString(), QStringLiteral("Paused"));
}
