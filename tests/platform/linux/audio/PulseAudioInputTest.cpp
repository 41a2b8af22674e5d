#include "platform/linux/audio/PulseAudioInput.h"

#include "core/ProcessUtil.h"
#include "support/EnvironmentGuard.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Input = AudioInput::Input;

// A pactl that keeps the source "mic" in files beside it; its default source is what the file "default" says.
// A file "stuck" makes mute writes go nowhere; a file "keep" keeps the subscriber running.
class PulseAudioInputTest : public TempHome {
protected:
    void SetUp() override
    {
        writeFile(m_pactl,
                  "#!/bin/sh\ncd \"$(dirname \"$0\")\"\n"
                  "case \"$*\" in\n"
                  "get-default-source) cat default;;\n"
                  "'--format=json list sources')\n"
                  "  printf '[{\"index\":0,\"name\":\"speakers.monitor\",\"mute\":false,\"volume\":"
                  "{\"mono\":{\"value\":65536}}},{\"index\":1,\"name\":\"mic\",\"mute\":%s,\"volume\":"
                  "{\"front-left\":{\"value\":%s},\"front-right\":{\"value\":1000}}}]' "
                  "\"$(cat mute)\" \"$(cat volume)\";;\n"
                  "'set-source-mute mic 1') [ -e stuck ] || echo true >mute;;\n"
                  "'set-source-mute mic 0') [ -e stuck ] || echo false >mute;;\n"
                  "set-source-volume\\ mic\\ *) echo \"$3\" >volume;;\n"
                  "subscribe) echo \"Event 'new' on source-output #4\"\n"
                  "  echo \"Event 'change' on sink #2\"; echo \"Event 'change' on source #1\"\n"
                  "  [ -e keep ] && exec sleep 30;;\n"
                  "esac\n");
        QFile::setPermissions(m_pactl, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        state("default", "mic\n");
        state("mute", "false");
        state("volume", "32768");
    }

    void state(const char* name, const QByteArray& value)
    {
        writeFile(m_dir.path() + u'/' + QLatin1String(name), value);
    }

    QString m_pactl = m_dir.path() + QStringLiteral("/pactl");
    ProcessUtil m_runner;
    PulseAudioInput m_input{m_runner, m_pactl, std::make_shared<PactlSubscription>(m_pactl)};
};

TEST_F(PulseAudioInputTest, TheDefaultSourceIsTheInputUnlessItIsAMonitor)
{
    EXPECT_EQ(m_input.defaultInput(), (Input{QStringLiteral("mic"), false, 0.5F}));
    for (const QByteArray& none : {QByteArray("speakers.monitor\n"), QByteArray(), QByteArray("gone\n")}) {
        state("default", none);
        EXPECT_EQ(m_input.defaultInput(), std::nullopt) << none.toStdString();
    }
    EXPECT_EQ(
        PulseAudioInput(m_runner, QString(), std::make_shared<PactlSubscription>(QString())).defaultInput(),
        std::nullopt);
}

TEST_F(PulseAudioInputTest, WritesCountWhenTheSourceReadsAsWrittenAfterwards)
{
    EXPECT_TRUE(m_input.setMuted(QStringLiteral("mic"), true));
    EXPECT_EQ(m_input.defaultInput()->muted, true);
    state("stuck", "");
    EXPECT_FALSE(m_input.setMuted(QStringLiteral("mic"), false));

    EXPECT_TRUE(m_input.setVolume(QStringLiteral("mic"), 0.2F));
    EXPECT_NEAR(*m_input.defaultInput()->volume, 0.2F, 0.0001F);
    EXPECT_FALSE(m_input.setVolume(QStringLiteral("absent"), 0.2F));
}

TEST_F(PulseAudioInputTest, OnceReadOnlyTheDefaultInputsEventsAndTheServersConcernIt)
{
    const struct {
        const char* line;
        bool beforeRead;
        bool afterRead;
    } cases[] = {
        {"Event 'change' on source #1\n", true, true},
        {"Event 'change' on source #0\n", true, false},
        {"Event 'remove' on source #12\n", true, false},
        {"Event 'change' on server #-1\n", true, true},
        {"Event 'new' on source-output #4\n", false, false},
        {"Event 'change' on sink #2\n", false, false},
        {"", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_input.isInputEvent(QString::fromLatin1(c.line)), c.beforeRead) << c.line;
    ASSERT_TRUE(m_input.defaultInput());
    for (const auto& c : cases)
        EXPECT_EQ(m_input.isInputEvent(QString::fromLatin1(c.line)), c.afterRead) << c.line;

    state("default", "speakers.monitor\n");
    EXPECT_FALSE(m_input.defaultInput());
    EXPECT_FALSE(m_input.isInputEvent(u"Event 'change' on source #1\n"));
    EXPECT_TRUE(m_input.isInputEvent(u"Event 'change' on server #-1\n"));
}

TEST(PulseAudioInputSources, AVolumeBoostedPastTheUnitOrBeyondAnyFloatReadsAsFull)
{
    for (const char* value : {"98304", "1e300"}) {
        const std::optional<Input> input = PulseAudioInput::parse(
            QStringLiteral("mic"),
            QStringLiteral(R"([{"name":"mic","volume":{"mono":{"value":%1}}}])").arg(QLatin1String(value)));
        ASSERT_TRUE(input) << value;
        EXPECT_EQ(input->volume, 1.0F) << value;
    }
}

TEST_F(PulseAudioInputTest, TheSubscriberTellsOfChangesAndStartsAgainAfterItEnds)
{
    QSignalSpy changed(&m_input, &AudioInput::changed);
    m_input.follow();
    m_input.follow();
    ASSERT_TRUE(changed.wait(5000));

    PactlSubscription subscription(m_pactl, std::chrono::hours(1));
    QSignalSpy events(&subscription, &PactlSubscription::eventLine);
    QSignalSpy ended(&subscription, &PactlSubscription::ended);
    QSignalSpy listening(&subscription, &PactlSubscription::listening);
    subscription.start();
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(events.count(), 3);
    subscription.start();
    EXPECT_FALSE(subscription.isRunning()) << "waits for its restart";
    subscription.restart();
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(events.count(), 6);
    subscription.settled();
    EXPECT_EQ(listening.count(), 0) << "a child that is gone never listened";

    // One that stays listens once it has run a while, and the input tells of a change then.
    state("keep", "");
    PulseAudioInput input(m_runner, m_pactl, std::make_shared<PactlSubscription>(m_pactl));
    QSignalSpy inputChanged(&input, &AudioInput::changed);
    input.follow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return inputChanged.count() == 2; }, 5000))
        << "one for the source's event, one once listening, not " << inputChanged.count();
}

TEST_F(PulseAudioInputTest, WithoutTheServersSocketTheSubscriberWaitsForItToAppear)
{
    EnvironmentGuard environment;
    const QString folder = m_dir.path() + QStringLiteral("/run/pulse");
    environment.set("PULSE_SERVER", "unix:" + folder.toUtf8() + "/native");
    ASSERT_TRUE(QDir().mkpath(m_dir.path() + QStringLiteral("/run")));
    PactlSubscription subscription(m_pactl);
    QSignalSpy events(&subscription, &PactlSubscription::eventLine);
    QSignalSpy ended(&subscription, &PactlSubscription::ended);
    subscription.start();
    ASSERT_TRUE(ended.wait(5000));
    ASSERT_TRUE(subscription.waitsForServer());

    // The server's folder comes first, its socket after; a server that is there but does not keep the child
    // is asked again on a timer.
    ASSERT_TRUE(QDir().mkpath(folder));
    writeFile(folder + QStringLiteral("/native"), {});
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(events.count(), 6);
    EXPECT_FALSE(subscription.waitsForServer());
    for (const char* elsewhere : {"tcp:sound.example:4713", "unix:/run/a unix:/run/b", "unix:relative"}) {
        environment.set("PULSE_SERVER", elsewhere);
        EXPECT_EQ(PactlSubscription::serverSocket(), QString()) << elsewhere;
    }
    environment.unset("PULSE_SERVER");
    environment.set("XDG_RUNTIME_DIR", "/run/user/1000");
    environment.unset("PULSE_RUNTIME_PATH");
    EXPECT_EQ(PactlSubscription::serverSocket(), QStringLiteral("/run/user/1000/pulse/native"));
}

} // namespace
