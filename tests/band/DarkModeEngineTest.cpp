#include "band/DarkModeEngine.h"

#include "support/FakeDevices.h"
#include "support/FakeTileStateSources.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(DarkModeEngineTest, ReadWhenAskedAndAgainWhenTheDesktopReportsAChange)
{
    FakeTileStateSources sources;
    FakeSystemControls controls;
    sources.dark = true;
    DarkModeEngine engine(sources, controls);
    engine.refresh();
    EXPECT_FALSE(engine.isDark());
    sources.answerAll();
    EXPECT_TRUE(engine.isDark());

    QSignalSpy changes(&engine, &DarkModeEngine::darkChanged);
    sources.dark = false;
    Q_EMIT sources.darkModeChanged();
    sources.answerAll();
    EXPECT_FALSE(engine.isDark());
    EXPECT_EQ(changes.count(), 1);
}

TEST(DarkModeEngineTest, ToggleFlipsAtOnceAndTheRecheckKeepsOrUndoesIt)
{
    for (const bool desktopFollows : {true, false}) {
        FakeTileStateSources sources;
        FakeSystemControls controls;
        DarkModeEngine engine(sources, controls);
        engine.refresh();
        sources.answerAll();

        // A read asked before the click answers after it, with the old state.
        Q_EMIT sources.darkModeChanged();
        engine.toggle();
        EXPECT_EQ(controls.log, QStringList{QStringLiteral("toggleDarkMode")});
        sources.answerAll();
        EXPECT_TRUE(engine.isDark()) << "the flip shows at once";

        sources.dark = desktopFollows;
        engine.recheck();
        sources.answerAll();
        EXPECT_EQ(engine.isDark(), desktopFollows);
    }
}

} // namespace
