#include "ui/settings/ShortcutsWindow.h"

#include "platform/PlatformWordings.h"
#include "support/FakeHotKeys.h"

#include <gtest/gtest.h>

namespace {

QStringList keysOf(const std::vector<ShortcutsView::Row>& rows, const QString& action)
{
    const auto row =
        std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.action == action; });
    return row == rows.end() ? QStringList{QStringLiteral("no such row")} : row->keys;
}

TEST(ShortcutsView, TheDecksOwnKeysInThePlatformsCapsAndThroughThePortalWhatTheDesktopBound)
{
    FakeGlobalHotKeys keys;
    PlatformWordings wordings;
    wordings.hotKeyModifierCaps = {QStringLiteral("Ctrl"), QStringLiteral("Alt")};
    const auto rows = ShortcutsView::rows(wordings, &keys);
    EXPECT_EQ(keysOf(rows, QStringLiteral("Summon the deck")),
              (QStringList{QStringLiteral("Ctrl"), QStringLiteral("Alt"), QStringLiteral("Space")}));
    EXPECT_EQ(keysOf(rows, QStringLiteral("Run tiles 1–9")),
              (QStringList{QStringLiteral("Ctrl"), QStringLiteral("Alt"), QStringLiteral("1–9")}));

    keys.inUse = HotKeyMechanism::portal;
    keys.bound = {{100, QStringLiteral("Ctrl+Alt+Space")}, {2, QStringLiteral("F2")}, {3, QString()}};
    const auto bound = ShortcutsView::rows(wordings, &keys);
    EXPECT_EQ(keysOf(bound, QStringLiteral("Summon the deck")),
              QStringList{QStringLiteral("Ctrl+Alt+Space")});
    EXPECT_EQ(keysOf(bound, QStringLiteral("Run tile 2")), QStringList{QStringLiteral("F2")});
    EXPECT_EQ(keysOf(bound, QStringLiteral("Run tile 3")), QStringList{QStringLiteral("Not set")});
    EXPECT_EQ(keysOf(bound, QStringLiteral("Run tile 9")), QStringList{QStringLiteral("Not set")});
}

} // namespace
