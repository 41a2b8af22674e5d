#include "deck/TileTooltip.h"

#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/TempHome.h"

#include <QSignalSpy>

namespace {

using Anchor = TileHoverState::Anchor;
using TileAnchor = TileHoverState::TileAnchor;
using PointAnchor = TileHoverState::PointAnchor;

TEST(TileTooltipLayout, BubbleIsAtMostTwoHundredPointsOfTextWideAndWrapsOnceBeyond)
{
    struct Case {
        const char* name;
        QSizeF measured;
        QSizeF expected;
    };
    const std::vector<Case> cases{
        {"thirty short words", {612.4, 14.2}, {216, 39}},
        {"fractions round up", {119.1, 14}, {136, 24}},
        {"exactly the limit stays on one line", {200, 14.2}, {216, 25}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TileTooltipLayout::size(c.measured), c.expected);
    }
}

class TooltipPlacement : public TempHome {
protected:
    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
};

TEST_F(TooltipPlacement, BubbleIsCentredOnItsAnchorAndKeptFourPointsInsideTheDeck)
{
    const QSizeF wide{216, 39};
    struct Case {
        const char* name;
        int columns;
        TileSizeOption tileSize;
        Anchor anchor;
        QPointF expected;
    };
    // 3 × 3 regular: 104-point tiles, 10 apart, 14 from the edge of a 360-point deck.
    // 4 × 3 large: 128-point tiles, 4 apart, 8 from the edge of a 540-point deck.
    const std::vector<Case> cases{
        {"middle column", 3, TileSizeOption::regular, TileAnchor{1, 1}, {72, 180 - 19.5}},
        {"left column", 3, TileSizeOption::regular, TileAnchor{0, 0}, {4, 66 - 19.5}},
        {"right column ends 4 inside",
         3,
         TileSizeOption::regular,
         TileAnchor{2, 2},
         {360 - 216 - 4, 294 - 19.5}},
        {"large tiles, third column", 4, TileSizeOption::large, TileAnchor{0, 2}, {336 - 108, 72 - 19.5}},
        {"a point in the band", 3, TileSizeOption::regular, PointAnchor{200, 400}, {92, 400 - 19.5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_settings.setGridColumns(c.columns);
        m_settings.setTileSize(c.tileSize);
        EXPECT_EQ(TileTooltipLayout::placement(c.anchor, wide, m_settings), c.expected);
    }
}

class TileHoverStateTest : public ::testing::Test {
protected:
    TileHoverState m_state;
    QSignalSpy m_changes{&m_state, &TileHoverState::tipChanged};
    const TileHoverState::Tip m_mail{QStringLiteral("Mail"), TileAnchor{0, 1}};
};

TEST_F(TileHoverStateTest, LeavingBeforeTheRestShowsNothing)
{
    m_state.schedule(m_mail.text, m_mail.anchor);
    m_state.clear();
    EXPECT_FALSE(m_state.isPending());
    m_state.showPending();
    EXPECT_FALSE(m_state.tip());
    EXPECT_EQ(m_changes.count(), 0);
}

TEST_F(TileHoverStateTest, ANewTileReplacesThePendingTipAndEmptyTextSchedulesNothing)
{
    const TileHoverState::Tip notes{QStringLiteral("Notes"), TileAnchor{2, 2}};
    m_state.schedule(m_mail.text, m_mail.anchor);
    m_state.schedule(notes.text, notes.anchor);
    m_state.showPending();
    EXPECT_EQ(m_state.tip(), notes);

    // A tip already showing stays.
    m_state.schedule(QString(), TileAnchor{0, 0});
    EXPECT_FALSE(m_state.isPending());
    m_state.showPending();
    EXPECT_EQ(m_state.tip(), notes);
    EXPECT_EQ(m_changes.count(), 1);
}

} // namespace
