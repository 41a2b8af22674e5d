#include "band/MicMuteEngine.h"

#include "support/FakeDevices.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

using Input = AudioInput::Input;

const QString kMic = QStringLiteral("mic");

QStringList texts(const std::vector<const char*>& items)
{
    QStringList list;
    for (const char* item : items)
        list << QString::fromLatin1(item);
    return list;
}

class MicMuteEngineTest : public ::testing::Test {
protected:
    FakeAudioInput m_input;
    std::vector<MicMuteEngine::Job> m_jobs;
    MicMuteEngine m_engine{m_input, [this](MicMuteEngine::Job job) { m_jobs.push_back(std::move(job)); }};

    // Runs the background jobs one at a time, each answer reaching the engine before the next job runs.
    void runJobs()
    {
        while (!m_jobs.empty()) {
            ASSERT_EQ(m_jobs.size(), 1u) << "the sound server is asked one question at a time";
            std::exchange(m_jobs, {}).front()();
            QCoreApplication::sendPostedEvents();
        }
    }
};

TEST_F(MicMuteEngineTest, ToggleUsesTheMuteSwitchElseTheVolumeKeepingAtLeastTheFloorToRestore)
{
    const struct {
        const char* name;
        Input input;
        bool muteWritesFail;
        std::vector<const char*> writes; // muting, then unmuting
        float savedVolume;
    } cases[] = {
        {"mute switch", {kMic, false, 0.5F}, false, {"mute mic 1", "mute mic 0"}, 0.75F},
        {"volume only", {kMic, std::nullopt, 0.6F}, false, {"volume mic 0", "volume mic 0.6"}, 0.6F},
        {"quiet volume only", {kMic, std::nullopt, 0.1F}, false, {"volume mic 0", "volume mic 0.2"}, 0.2F},
        {"stuck mute switch",
         {kMic, false, 0.1F},
         true,
         {"mute mic 1", "volume mic 0", "mute mic 0", "volume mic 0.2"},
         0.2F},
    };
    for (const auto& c : cases) {
        FakeAudioInput input;
        input.input = c.input;
        input.muteWritesFail = c.muteWritesFail;
        MicMuteEngine engine(input, [](const MicMuteEngine::Job& job) { job(); });

        engine.toggle();
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(engine.isMuted()) << c.name;
        EXPECT_FLOAT_EQ(engine.savedVolume(), c.savedVolume) << c.name;
        engine.toggle();
        QCoreApplication::sendPostedEvents();
        EXPECT_FALSE(engine.isMuted()) << c.name;
        EXPECT_EQ(input.log.entries(), texts(c.writes)) << c.name;
    }
}

TEST_F(MicMuteEngineTest, WithoutControlsOrAWritableVolumeNothingChanges)
{
    const struct {
        const char* name;
        std::optional<Input> input;
        bool volumeWritesFail;
        std::vector<const char*> writes;
    } cases[] = {
        {"no default input", std::nullopt, false, {}},
        {"neither control", Input{kMic, std::nullopt, std::nullopt}, false, {}},
        {"volume refused", Input{kMic, std::nullopt, 0.4F}, true, {"volume mic 0"}},
    };
    for (const auto& c : cases) {
        m_input.input = c.input;
        m_input.volumeWritesFail = c.volumeWritesFail;
        const qsizetype before = m_input.log.entries().size();
        m_engine.toggle();
        runJobs();
        EXPECT_FALSE(m_engine.isMuted()) << c.name;
        EXPECT_EQ(m_input.log.entries().mid(before), texts(c.writes)) << c.name;
    }
}

TEST_F(MicMuteEngineTest, RefreshReadsTheMuteSwitchElseTheVolumeAndFollowsTheServer)
{
    const struct {
        std::optional<Input> input;
        bool before;
        bool after;
    } cases[] = {
        {Input{kMic, true, 0.8F}, false, true},
        {Input{kMic, false, 0.0F}, true, false},
        {Input{kMic, std::nullopt, 0.005F}, false, true},
        {Input{kMic, std::nullopt, 0.5F}, true, false},
        {Input{kMic, std::nullopt, std::nullopt}, true, true},
        {std::nullopt, true, true},
    };
    for (const auto& c : cases) {
        m_input.input = Input{kMic, c.before, std::nullopt};
        m_engine.refresh();
        runJobs();
        ASSERT_EQ(m_engine.isMuted(), c.before);

        m_input.input = c.input;
        Q_EMIT m_input.changed();
        runJobs();
        EXPECT_EQ(m_engine.isMuted(), c.after);
    }
    EXPECT_GT(m_input.follows, 0);
}

TEST_F(MicMuteEngineTest, ClicksDuringAQuestionWaitForItsAnswer)
{
    m_input.input = Input{kMic, false, 0.5F};
    m_engine.refresh();
    m_engine.toggle();
    m_engine.toggle();
    m_engine.toggle();
    runJobs();
    EXPECT_TRUE(m_engine.isMuted());
    EXPECT_EQ(m_input.log.entries(), texts({"mute mic 1", "mute mic 0", "mute mic 1"}));
}

} // namespace
