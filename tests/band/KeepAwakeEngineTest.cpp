#include "band/KeepAwakeEngine.h"

#include "support/FakeDevices.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class KeepAwakeEngineTest : public ::testing::Test {
protected:
    FakeSleepInhibitor m_inhibitor;
    std::optional<KeepAwakeEngine> m_engine{std::in_place, m_inhibitor};
};

TEST_F(KeepAwakeEngineTest, OnOnceTheInhibitionIsHeldOffAtOnceOnTheNextClickAndOffWhenRefused)
{
    QSignalSpy changes(&*m_engine, &KeepAwakeEngine::onChanged);
    m_engine->toggle();
    EXPECT_FALSE(m_engine->isOn());
    m_inhibitor.answerAll();
    EXPECT_TRUE(m_engine->isOn());
    m_engine->toggle();
    EXPECT_FALSE(m_engine->isOn());
    EXPECT_EQ(m_inhibitor.releases, 1);
    EXPECT_EQ(changes.count(), 2);

    m_inhibitor.grants = false;
    m_engine->toggle();
    m_inhibitor.answerAll();
    EXPECT_FALSE(m_engine->isOn()) << "a refusal leaves it off";
}

TEST_F(KeepAwakeEngineTest, AReleaseOvertakesTheRequestAndTheEngineReleasesWhenItGoes)
{
    m_engine->toggle();
    m_engine->release();
    m_inhibitor.answerAll();
    EXPECT_FALSE(m_engine->isOn());
    EXPECT_FALSE(m_inhibitor.held);

    m_engine->toggle();
    m_engine->toggle();
    m_inhibitor.answerAll();
    EXPECT_FALSE(m_engine->isOn()) << "a second click while asking means off";

    m_engine->toggle();
    m_inhibitor.answerAll();
    ASSERT_TRUE(m_inhibitor.held);
    m_engine.reset();
    EXPECT_FALSE(m_inhibitor.held);
}

} // namespace
