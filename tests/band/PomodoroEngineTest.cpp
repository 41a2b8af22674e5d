#include "band/PomodoroEngine.h"

#include "support/FakeAlertSound.h"
#include "support/LogCapture.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using Phase = PomodoroEngine::Phase;

enum class Event { click, reset, length, ticks };

struct Step {
    Event event;
    int argument; // minutes of a length, or how many ticks
    Phase phase;
    int remaining;
    int alerts = 0;
};

void apply(PomodoroEngine& engine, const Step& step)
{
    switch (step.event) {
    case Event::click:
        return engine.toggle();
    case Event::reset:
        return engine.reset();
    case Event::length:
        return engine.setDuration(step.argument);
    case Event::ticks:
        for (int i = 0; i < step.argument; ++i)
            engine.tick();
    }
}

TEST(PomodoroEngineTest, FollowsThePhaseTable)
{
    using enum Event;
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"5 minutes paused at 3:12 and resumed",
         {{length, 5, Phase::idle, 300},
          {click, 0, Phase::running, 300},
          {ticks, 108, Phase::running, 192},
          {click, 0, Phase::paused, 192},
          {click, 0, Phase::running, 192}}},
        {"a length chosen while paused starts over idle",
         {{click, 0, Phase::running, 1500},
          {click, 0, Phase::paused, 1500},
          {length, 50, Phase::idle, 3000}}},
        {"a length chosen while running applies from the next period; 0:01 is the last second shown",
         {{click, 0, Phase::running, 1500},
          {length, 5, Phase::running, 1500},
          {ticks, 1499, Phase::running, 1},
          {ticks, 1, Phase::idle, 300, 1}}},
        {"reset while running",
         {{click, 0, Phase::running, 1500},
          {ticks, 10, Phase::running, 1490},
          {reset, 0, Phase::idle, 1500}}},
        {"lengths out of range are refused (and logged)",
         {{length, 0, Phase::idle, 1500}, {length, 1'000'000, Phase::idle, 1500}}},
    };
    const LogCapture log;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeAlertSound sound;
        PomodoroEngine engine(sound);
        for (const Step& step : c.steps) {
            apply(engine, step);
            EXPECT_EQ(engine.phase(), step.phase) << step.remaining;
            EXPECT_EQ(engine.remaining(), step.remaining);
            EXPECT_EQ(sound.played, step.alerts);
        }
    }
    EXPECT_EQ(log.lines().size(), 2);
}

TEST(PomodoroEngineTest, RemainingTextShowsMinutesAndTwoDigitSeconds)
{
    const std::pair<int, const char*> cases[] = {{1500, "25:00"}, {192, "3:12"}, {1, "0:01"}};
    for (const auto& [remaining, text] : cases)
        EXPECT_EQ(PomodoroEngine::remainingText(remaining), QLatin1String(text));
}

} // namespace
