#include "platform/linux/desktop/DesktopStarterDeck.h"

#include "support/FakeWorkspace.h"
#include "support/LaunchPaths.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopTiles, PinnedApplicationsComeOnceEachInTheirOrderWithinTheLimit)
{
    const auto entry = [](const char* name) {
        return QStringLiteral("/usr/share/applications/%1.desktop").arg(QLatin1String(name));
    };
    FakeWorkspace workspace;
    workspace.favourites = {
        entry("c"), entry("marquetto"), entry("a"), entry("c"), entry("org.marquetto.Marquetto"), entry("b")};
    workspace.everyday = {entry("browser")};

    const std::vector<Tile> tiles = DesktopStarterDeck::tiles(9, workspace);

    EXPECT_EQ(launchPaths(tiles), (QStringList{entry("c"), entry("a"), entry("b")}));
    ASSERT_EQ(tiles.size(), 3U) << "nothing but the pinned applications";
    EXPECT_NE(tiles[0].id, tiles[1].id);
    EXPECT_TRUE(tiles[0].label.isEmpty());
    EXPECT_TRUE(tiles[0].icon.isAuto());
    EXPECT_EQ(launchPaths(DesktopStarterDeck::tiles(2, workspace)), (QStringList{entry("c"), entry("a")}));
    EXPECT_TRUE(DesktopStarterDeck::tiles(0, workspace).empty());
}

TEST(DesktopTiles, ADesktopThatPinsNothingStartsWithItsEverydayApplicationsAndALock)
{
    const TileAction lock{TileAction::RunSystemAction{SystemAction::lockScreen}};
    const QString browser = QStringLiteral("/usr/share/applications/firefox-esr.desktop");
    const QString files = QStringLiteral("/usr/share/applications/org.kde.dolphin.desktop");
    FakeWorkspace workspace;
    workspace.favourites = {QStringLiteral("/usr/share/applications/org.marquetto.Marquetto.desktop")};
    workspace.everyday = {browser, files};

    const std::vector<Tile> tiles = DesktopStarterDeck::tiles(9, workspace);
    ASSERT_EQ(tiles.size(), 3U);
    EXPECT_EQ(tiles[0].action, TileAction{TileAction::LaunchApp{browser}});
    EXPECT_EQ(tiles[1].action, TileAction{TileAction::LaunchApp{files}});
    EXPECT_EQ(tiles[2].action, lock);

    EXPECT_EQ(DesktopStarterDeck::tiles(2, workspace).size(), 2U) << "the lock stays within the limit";
    workspace.everyday.clear();
    EXPECT_TRUE(DesktopStarterDeck::tiles(9, workspace).empty()) << "a lone lock is no deck to start from";
}

} // namespace
