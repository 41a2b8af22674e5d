#include "platform/linux/audio/PulseAudioSystem.h"

#include "support/FakeProcessRunner.h"
#include "support/LogCapture.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Device = AudioSystem::Device;

const QString kPactl = QStringLiteral("/usr/bin/pactl");
const QString kVolume =
    QStringLiteral("Volume: front-left: 32768 /  50% / -18.06 dB,   front-right: 20971 /  32% / "
                   "-29.69 dB\n        balance -0.36\n");

// What pactl 16.1 printed for five null sinks, the last described with non-ASCII text.
QString capturedSinks()
{
    QFile file(QStringLiteral(MARQUETTO_SUPPORT_DIR "/pactl-list-sinks.json"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class PulseAudioSystemTest : public ::testing::Test {
protected:
    FakeProcessRunner m_runner;
    PulseAudioSystem m_audio{m_runner, kPactl};

    void answer(const char* arguments, const QString& output)
    {
        m_runner.answer(kPactl + u' ' + QLatin1String(arguments), output);
    }

    // The argument lists pactl was run with, each waited for.
    [[nodiscard]] std::vector<QStringList> commands() const
    {
        std::vector<QStringList> commands;
        for (const FakeProcessRunner::Call& call : m_runner.calls()) {
            EXPECT_EQ(call.executable, kPactl);
            EXPECT_TRUE(call.waited);
            commands.push_back(call.arguments);
        }
        return commands;
    }
};

TEST_F(PulseAudioSystemTest, EverySinkIsAnOutputKnownByItsName)
{
    answer("--format=json list sinks", capturedSinks());

    EXPECT_EQ(
        m_audio.devices(),
        (std::vector<Device>{{0, QStringLiteral("speakers"), QStringLiteral("Speakers"), true},
                             {1, QStringLiteral("hdmi_out"), QStringLiteral("Null Output"), true},
                             {2, QStringLiteral("mono"), QStringLiteral("Mono"), true},
                             {4, QStringLiteral("usb_headset"), QStringLiteral("USB \"Pro\" Headset"), true},
                             {5, QStringLiteral("bluez_output.AA_BB"), QString(), true}}));
    EXPECT_EQ(commands(), (std::vector<QStringList>{{QStringLiteral("--format=json"), QStringLiteral("list"),
                                                     QStringLiteral("sinks")}}));
}

TEST_F(PulseAudioSystemTest, SinksWithoutNumberOrNameAreLeftOutAndADescriptionIsOptional)
{
    answer("--format=json list sinks",
           QStringLiteral(
               R"([{"index":3,"name":"plain"},{"index":7,"name":"nulled","description":null},)"
               R"({"name":"no-index"},{"index":-1,"name":"negative"},{"index":1.5,"name":"fraction"},)"
               R"({"index":4294967296,"name":"too-big"},{"index":8},{"index":9,"name":""},"text",[]])"));

    EXPECT_EQ(m_audio.devices(), (std::vector<Device>{{3, QStringLiteral("plain"), QString(), true},
                                                      {7, QStringLiteral("nulled"), QString(), true}}));
}

TEST_F(PulseAudioSystemTest, AnythingButAJsonListMeansNoDevices)
{
    EXPECT_TRUE(m_audio.devices().empty()) << "pactl did not run";
    const char* const outputs[] = {
        "", "\n", "Connection failure: Connection refused", "{\"index\":0}", "[{\"index\":0", "null"};
    for (const char* output : outputs) {
        answer("--format=json list sinks", QString::fromUtf8(output));
        EXPECT_TRUE(m_audio.devices().empty()) << output;
    }
}

TEST_F(PulseAudioSystemTest, ChoosingAnOutputNamesItsSinkAndAnUnknownNumberChangesNothing)
{
    answer("--format=json list sinks", capturedSinks());

    m_audio.setDefaultOutputDevice(9);
    m_audio.setDefaultOutputDevice(4);

    const std::vector<QStringList> commands = this->commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands.back(),
              (QStringList{QStringLiteral("set-default-sink"), QStringLiteral("usb_headset")}));
}

TEST_F(PulseAudioSystemTest, VolumeMovesFromTheLoudestChannelAndNeverStepsOverOrDownToHundred)
{
    const QString boosted =
        QStringLiteral("Volume: front-left: 98304 / 150% / 10.57 dB,   front-right: 98304 / 150% / 10.57 dB");
    const struct {
        QString volume;
        int change;
        const char* expected; // nothing: the volume is left as it is
    } cases[] = {
        {kVolume, 10, "60%"},
        {kVolume, -10, "40%"},
        {QStringLiteral("Volume: mono: 62259 /  95% / -1.34 dB\n"), 10, "100%"},
        {QStringLiteral("Volume: mono: 65536 / 100% / 0.00 dB\n"), 10, nullptr},
        {boosted, 10, nullptr},
        {boosted, -10, "140%"},
        {QStringLiteral("Volume: mono: 3277 /   5% / -78.02 dB\n"), -10, "0%"},
        {QStringLiteral("Lautst\u00e4rke: front-left: 32768 /  50% / -18,06 dB"), 10, "60%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.volume.toStdString() + ' ' + std::to_string(c.change));
        FakeProcessRunner runner;
        runner.answer(kPactl + QStringLiteral(" get-sink-volume @DEFAULT_SINK@"), c.volume);
        PulseAudioSystem(runner, kPactl).changeOutputVolume(c.change);

        const std::vector<FakeProcessRunner::Call> calls = runner.calls();
        ASSERT_EQ(calls.size(), c.expected ? 2u : 1u);
        if (c.expected) {
            EXPECT_EQ(calls[1].arguments,
                      (QStringList{QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                                   QLatin1String(c.expected)}));
        }
    }
}

TEST_F(PulseAudioSystemTest, AVolumeThatCannotBeReadIsLeftAlone)
{
    for (const char* volume :
         {"", "Failed to get sink information: No such entity", "Volume: mono: 65536 / 100"}) {
        answer("get-sink-volume @DEFAULT_SINK@", QString::fromUtf8(volume));
        m_audio.changeOutputVolume(10);
    }
    const QStringList readVolume{QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")};
    EXPECT_EQ(commands(), std::vector<QStringList>(3, readVolume));
}

TEST(PulseAudioSystemWithoutPactl, AnswersNothingRunsNothingAndSaysSoOnce)
{
    LogCapture log;
    FakeProcessRunner runner;
    PulseAudioSystem audio(runner, QString());

    EXPECT_TRUE(audio.devices().empty());
    EXPECT_EQ(audio.defaultOutputDevice(), std::nullopt);
    audio.setDefaultOutputDevice(0);
    audio.changeOutputVolume(10);
    audio.toggleOutputMute();
    EXPECT_TRUE(runner.calls().empty());
    EXPECT_EQ(log.lines().size(), 1) << log.lines().join(u'\n').toStdString();
}

} // namespace
