#include "deck/DealEngine.h"

#include "support/PanelFixture.h"

#include <QSignalSpy>

namespace {

constexpr qint64 minutes = 60;

class DealEngineTest : public PanelFixture {
protected:
    void SetUp() override
    {
        makePanel().showPanel();
        m_gathers = std::make_unique<QSignalSpy>(m_deal.get(), &DealEngine::gatheredChanged);
    }

    // Whether the last thing the engine did was to gather the cards for a deal, and how.
    [[nodiscard]] std::optional<bool> gatheredAnimated() const
    {
        if (m_gathers->isEmpty() || !m_gathers->last().at(0).toBool())
            return std::nullopt;
        return m_gathers->last().at(1).toBool();
    }

    // Runs the pending deal and its release, as their timers would.
    void finishDeal()
    {
        ASSERT_TRUE(m_deal->isDealPending());
        m_deal->deal();
        EXPECT_TRUE(m_deal->isGathered());
        m_deal->release();
        EXPECT_FALSE(m_deal->isBusy());
    }

    std::unique_ptr<QSignalSpy> m_gathers;
};

TEST_F(DealEngineTest, ArrivalGathersAtOnceThenDealsAndReleases)
{
    m_deal->arrive();
    EXPECT_EQ(gatheredAnimated(), false);
    EXPECT_TRUE(m_deal->isBusy());
    EXPECT_EQ(m_deal->generation(), 0);
    finishDeal();
    EXPECT_EQ(m_deal->generation(), 1);
    EXPECT_FALSE(m_deal->isGathered());
}

TEST_F(DealEngineTest, ArrivalWithoutThePreferenceOrWithReducedMotionDealsNothing)
{
    m_settings->setDealAnimation(false);
    m_deal->arrive();
    EXPECT_FALSE(m_deal->isBusy());
    m_settings->setDealAnimation(true);
    m_reduceMotion.set(true);
    m_deal->arrive();
    EXPECT_FALSE(m_deal->isBusy());
    EXPECT_TRUE(m_gathers->isEmpty());
}

TEST_F(DealEngineTest, SummonsDealOnlyAfterTwentyQuietMinutes)
{
    m_deal->arrive();
    finishDeal();
    m_gathers->clear();

    m_clock.advance(19 * minutes);
    m_panel->beginSummon();
    EXPECT_FALSE(m_deal->isBusy()) << "summoned soon after the start";
    m_clock.advance(19 * minutes);
    m_panel->endSummon();
    m_clock.advance(19 * minutes);
    m_panel->beginSummon();
    EXPECT_FALSE(m_deal->isBusy()) << "the dismissal restarted the quiet";
    EXPECT_TRUE(m_gathers->isEmpty());

    // Still summoned, and no summon or dismissal for 25 minutes.
    m_clock.advance(25 * minutes);
    m_panel->beginSummon();
    EXPECT_EQ(gatheredAnimated(), true);
    finishDeal();
    EXPECT_EQ(m_deal->generation(), 2);

    m_panel->endSummon();
    m_clock.advance(20 * minutes);
    m_panel->beginSummon();
    EXPECT_TRUE(m_deal->isBusy()) << "exactly twenty minutes";
}

TEST_F(DealEngineTest, FirstSummonWithoutArrivalDealsUnlessSwitchedOff)
{
    m_settings->setDealAnimation(false);
    m_panel->beginSummon();
    EXPECT_FALSE(m_deal->isBusy());
    m_panel->endSummon();
    m_clock.advance(30 * minutes);
    m_settings->setDealAnimation(true);
    m_panel->beginSummon();
    EXPECT_EQ(gatheredAnimated(), true);
    EXPECT_EQ(m_deal->lastSummon(), m_clock.now());
}

TEST_F(DealEngineTest, PreviewDealsWhateverThePreferenceSaysButNotWithReducedMotion)
{
    m_settings->setDealAnimation(false);
    int summons = 0;
    m_deal->preview([&] {
        ++summons;
        m_panel->beginSummon();
    });
    EXPECT_EQ(summons, 1);
    EXPECT_TRUE(m_panel->isSummoned());
    EXPECT_EQ(gatheredAnimated(), true);
    finishDeal();

    m_reduceMotion.set(true);
    m_deal->preview([] {});
    EXPECT_FALSE(m_deal->isBusy());
}

TEST_F(DealEngineTest, ReducedMotionSwitchedOnWhileRunningCallsOffTheDealAndFollowsLater)
{
    QSignalSpy followed(m_deal.get(), &DealEngine::reduceMotionChanged);
    m_deal->arrive();
    m_reduceMotion.set(true);
    EXPECT_FALSE(m_deal->isBusy());
    EXPECT_FALSE(m_deal->isGathered());
    EXPECT_TRUE(m_deal->reducesMotion());

    m_clock.advance(30 * minutes);
    m_panel->beginSummon();
    EXPECT_FALSE(m_deal->isBusy());

    m_reduceMotion.set(false);
    m_panel->endSummon();
    m_clock.advance(30 * minutes);
    m_panel->beginSummon();
    EXPECT_TRUE(m_deal->isDealPending());
    EXPECT_EQ(followed.count(), 2);
}

} // namespace
