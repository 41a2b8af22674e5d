#include "band/FocusEngine.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using Reading = DoNotDisturb::Reading;

// Holds every answer until the test gives it.
class HeldDoNotDisturb final : public DoNotDisturb {
public:
    std::vector<std::function<void(Reading)>> reads;
    bool ready = false;
    bool switches = true;
    bool announces = false;
    bool following = false;
    std::vector<bool> turned;

    void read(QObject*, std::function<void(Reading)> done) override { reads.push_back(std::move(done)); }
    void checkReady(QObject*, std::function<void(bool)> done) override { done(ready); }
    bool turn(bool on) override
    {
        turned.push_back(on);
        return switches;
    }
    void openAccessSettings() override {}
    bool follow() override
    {
        following = announces;
        return announces;
    }
    void stopFollowing() override { following = false; }
};

class FocusEngineTest : public ::testing::Test {
protected:
    void startReading(Reading reading)
    {
        m_engine.start();
        m_system.reads.back()(reading);
    }

    HeldDoNotDisturb m_system;
    FocusEngine m_engine{m_system};
};

TEST_F(FocusEngineTest, AClickWithoutBothShortcutsAsksForSetup)
{
    QSignalSpy setup(&m_engine, &FocusEngine::setupRequested);
    startReading({false, false});
    m_engine.toggleDND();
    EXPECT_EQ(setup.size(), 1);
    EXPECT_TRUE(m_system.turned.empty());
}

TEST_F(FocusEngineTest, AClickWhileOnSwitchesOffAtOnceAndTheRechecksConfirmOrRevert)
{
    m_system.ready = true;
    startReading({true, false});
    const std::size_t before = m_system.reads.size();
    m_engine.poll(); // asked before the click: its answer is stale
    m_engine.toggleDND();
    EXPECT_EQ(m_system.turned, std::vector<bool>{false});
    EXPECT_FALSE(m_engine.focusActive());
    m_system.reads[before]({true, false});
    EXPECT_FALSE(m_engine.focusActive()) << "a read begun before the click is dropped";

    m_engine.poll(); // the first recheck's handler: the shortcut did nothing
    m_system.reads.back()({true, false});
    EXPECT_TRUE(m_engine.focusActive());
}

TEST_F(FocusEngineTest, ReadingsKeepWhatTheyCannotTellAndRaiseAccessOnlyWhenAsked)
{
    const struct {
        Reading reading;
        bool active, needsAccess;
    } steps[] = {
        {{true, false}, true, false},
        {{std::nullopt, true}, true, true},
        {{std::nullopt, false}, true, false},
        {{false, false}, false, false},
    };
    m_engine.start();
    for (const auto& step : steps) {
        m_engine.poll();
        m_system.reads.back()(step.reading);
        EXPECT_EQ(m_engine.focusActive(), step.active);
        EXPECT_EQ(m_engine.needsAccess(), step.needsAccess);
    }
}

TEST_F(FocusEngineTest, ADesktopThatAnnouncesChangesIsReadOnEachInsteadOfOnATimer)
{
    for (const bool announces : {false, true}) {
        HeldDoNotDisturb system;
        system.announces = announces;
        FocusEngine engine(system);
        engine.start();
        EXPECT_EQ(engine.isPolling(), !announces);
        EXPECT_EQ(system.following, announces);

        Q_EMIT system.changed();
        ASSERT_EQ(system.reads.size(), 2u) << announces;
        system.reads.back()({true, false});
        EXPECT_TRUE(engine.focusActive());

        engine.stop();
        EXPECT_FALSE(engine.isRunning() || engine.isPolling() || system.following);
        Q_EMIT system.changed();
        EXPECT_EQ(system.reads.size(), 2u) << "off the band nothing is read";
    }

    // Where the desktop has no Do Not Disturb there is nothing to read again.
    NoDoNotDisturb none;
    FocusEngine engine(none);
    engine.start();
    EXPECT_FALSE(engine.isPolling());
}

TEST_F(FocusEngineTest, ASystemThatCannotSwitchLeavesTheModuleAsItIs)
{
    m_system.ready = true;
    m_system.switches = false;
    startReading({false, false});
    m_engine.toggleDND();
    EXPECT_FALSE(m_engine.focusActive());
}

} // namespace
