// End to end with a real sound server: PipeWire, WirePlumber and PipeWire's PulseAudio service on the test's
// own runtime folder and session bus, with two null sinks and a null source. The real deck, on a private X
// server, switches outputs, steps and mutes the volume through its tiles, lights the output that is current
// and shows the microphone's mute in its band, as `marquetto-deck state` and `band` tell.
#include "DesktopChecks.h"
#include "support/DeckProcess.h"
#include "support/Eventually.h"
#include "support/PipeWireServer.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/Screenshot.h"
#include "support/TempHome.h"
#include "support/XvfbSession.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QThread>
#include <functional>

namespace {

const QString artefacts = QStringLiteral(MARQUETTO_TEST_ARTEFACTS_DIR);

QString outputTile(const QString& sink, const QString& name)
{
    return QStringLiteral(R"({"label": "%2", "icon": {"auto": {}}, )"
                          R"("action": {"audioOutput": {"deviceUID": "%1", "name": "%2"}}})")
        .arg(sink, name);
}

QString systemTile(const QString& action)
{
    return QStringLiteral(
               R"({"label": "%1", "icon": {"auto": {}}, "action": {"systemAction": {"action": "%1"}}})")
        .arg(action);
}

class SoundOnPipeWire : public TempHome {
protected:
    void SetUp() override
    {
        const QStringList missing = XvfbSession::missingPrograms() + PipeWireServer::missingPrograms();
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
        ASSERT_TRUE(m_sound.start()) << m_sound.error().toStdString();
        ASSERT_TRUE(m_sound.addSink(QStringLiteral("desk_speakers"), QStringLiteral("Desk-Speakers")));
        ASSERT_TRUE(m_sound.addSink(QStringLiteral("headphones"), QStringLiteral("Headphones")));
        ASSERT_TRUE(m_sound.addSource(QStringLiteral("desk_mic"), QStringLiteral("Desk-Mic")));
        ASSERT_TRUE(m_sound.pactl({QStringLiteral("set-default-sink"), QStringLiteral("desk_speakers")}));
        ASSERT_TRUE(m_sound.pactl({QStringLiteral("set-default-source"), QStringLiteral("desk_mic")}));
        ASSERT_TRUE(eventually([this] { return defaultSink() == u"desk_speakers"; }));
        ASSERT_TRUE(eventually([this] { return defaultOf(QStringLiteral("source")) == u"desk_mic"; }));
        QDir().mkpath(artefacts);
    }

    QJsonArray lit() { return deckState(m_paths.home).value(QStringLiteral("lit")).toArray(); }
    QString bandText(const QString& module) { return ::bandText(m_paths.home, module); }

    QString defaultSink() const { return defaultOf(QStringLiteral("sink")); }
    // The server's default "sink" or "source".
    QString defaultOf(const QString& kind) const
    {
        return m_sound.pactl({QStringLiteral("get-default-") + kind}).value_or(QString()).trimmed();
    }

    // The loudest channel of the sink, in percent; -1 when pactl says nothing readable.
    int volume(const QString& sink) const
    {
        static const QRegularExpression percent(QStringLiteral("/\\s*(\\d+)%\\s*/"));
        const QString text = m_sound.pactl({QStringLiteral("get-sink-volume"), sink}).value_or(QString());
        int loudest = -1;
        for (const QRegularExpressionMatch& match : percent.globalMatch(text))
            loudest = std::max(loudest, match.captured(1).toInt());
        return loudest;
    }

    QString muted(const QString& command, const QString& device) const
    {
        return m_sound.pactl({command, device}).value_or(QString()).trimmed();
    }

    void startDeck() { ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString(); }

    PrivateSession m_session;
    XvfbSession m_x;
    PipeWireServer m_sound{m_paths.home};
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home};
};

} // namespace

TEST_F(SoundOnPipeWire, OutputTilesSwitchTheDefaultSinkAndTheCurrentOneIsLitWhoeverChoseIt)
{
    setTile(m_paths.home, 0, outputTile(QStringLiteral("headphones"), QStringLiteral("Headphones")));
    setTile(m_paths.home, 1, outputTile(QStringLiteral("desk_speakers"), QStringLiteral("Desk-Speakers")));
    startDeck();
    EXPECT_TRUE(eventually([this] { return lit() == QJsonArray{1}; }))
        << "the deck lit " << QJsonDocument(lit()).toJson().toStdString();

    runTile(m_paths.home, 0);
    EXPECT_TRUE(eventually([this] { return defaultSink() == u"headphones"; })) << defaultSink().toStdString();
    EXPECT_TRUE(eventually([this] { return lit() == QJsonArray{0}; }))
        << "the deck lit " << QJsonDocument(lit()).toJson().toStdString();
    (void)saveScreenshot(artefacts + QStringLiteral("/pipewire-headphones.png"));

    // A change made elsewhere, as the desktop's sound settings make it, moves the light too.
    ASSERT_TRUE(m_sound.pactl({QStringLiteral("set-default-sink"), QStringLiteral("desk_speakers")}));
    // WirePlumber makes the configured sink the default in its own time, which a loaded machine stretches.
    EXPECT_TRUE(eventually([this] { return defaultSink() == u"desk_speakers"; }))
        << defaultSink().toStdString();
    EXPECT_TRUE(eventually([this] { return lit() == QJsonArray{1}; }))
        << "the deck lit " << QJsonDocument(lit()).toJson().toStdString();

    // So does one made after the sound services were restarted, their devices made anew.
    ASSERT_TRUE(m_sound.restartPulseService()) << m_sound.error().toStdString();
    ASSERT_TRUE(m_sound.addSink(QStringLiteral("desk_speakers"), QStringLiteral("Desk-Speakers")));
    ASSERT_TRUE(m_sound.addSink(QStringLiteral("headphones"), QStringLiteral("Headphones")));
    ASSERT_TRUE(m_sound.pactl({QStringLiteral("set-default-sink"), QStringLiteral("headphones")}));
    EXPECT_TRUE(eventually([this] { return defaultSink() == u"headphones"; })) << defaultSink().toStdString();
    EXPECT_TRUE(eventually([this] { return lit() == QJsonArray{0}; }))
        << "the deck lit " << QJsonDocument(lit()).toJson().toStdString();
}

TEST_F(SoundOnPipeWire, VolumeTilesStepTheDefaultSinkAndTheMuteTileTogglesIt)
{
    ASSERT_TRUE(m_sound.pactl(
        {QStringLiteral("set-sink-volume"), QStringLiteral("desk_speakers"), QStringLiteral("50%")}));
    setTile(m_paths.home, 0, systemTile(QStringLiteral("volumeDown")));
    setTile(m_paths.home, 1, systemTile(QStringLiteral("volumeUp")));
    setTile(m_paths.home, 2, systemTile(QStringLiteral("muteToggle")));
    startDeck();

    runTile(m_paths.home, 0);
    ASSERT_TRUE(eventually([this] { return volume(QStringLiteral("desk_speakers")) < 50; }));
    const int lowered = volume(QStringLiteral("desk_speakers"));
    runTile(m_paths.home, 1);
    EXPECT_TRUE(eventually([this] { return volume(QStringLiteral("desk_speakers")) == 50; }))
        << "from " << lowered << " % up to " << volume(QStringLiteral("desk_speakers")) << " %";
    // The other sink is left as it was.
    EXPECT_EQ(volume(QStringLiteral("headphones")), 100);

    const QString sinkMute = QStringLiteral("get-sink-mute");
    runTile(m_paths.home, 2);
    EXPECT_TRUE(eventually([&] { return muted(sinkMute, QStringLiteral("desk_speakers")) == u"Mute: yes"; }));
    runTile(m_paths.home, 2);
    EXPECT_TRUE(eventually([&] { return muted(sinkMute, QStringLiteral("desk_speakers")) == u"Mute: no"; }));
}

TEST_F(SoundOnPipeWire, TheMicrophoneModuleFollowsTheDefaultSourcesMute)
{
    startDeck();
    const DeckRun band = runDeck(m_paths.home, {QStringLiteral("band"), QStringLiteral("set"),
                                                QStringLiteral("micMute"), QStringLiteral("dateTime")});
    ASSERT_EQ(band.status, 0) << band.err.toStdString();
    EXPECT_TRUE(eventually([this] { return bandText(QStringLiteral("micMute")) == u"micMute off"; }))
        << bandText(QStringLiteral("micMute")).toStdString();

    ASSERT_TRUE(
        m_sound.pactl({QStringLiteral("set-source-mute"), QStringLiteral("desk_mic"), QStringLiteral("1")}));
    EXPECT_TRUE(eventually([this] { return bandText(QStringLiteral("micMute")) == u"micMute on"; }))
        << bandText(QStringLiteral("micMute")).toStdString();
    (void)saveScreenshot(artefacts + QStringLiteral("/pipewire-mic-muted.png"));
    ASSERT_TRUE(
        m_sound.pactl({QStringLiteral("set-source-mute"), QStringLiteral("desk_mic"), QStringLiteral("0")}));
    EXPECT_TRUE(eventually([this] { return bandText(QStringLiteral("micMute")) == u"micMute off"; }))
        << bandText(QStringLiteral("micMute")).toStdString();
}
