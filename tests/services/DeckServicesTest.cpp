#include "services/DeckServices.h"

#include "actions/ActionRunner.h"
#include "core/BackgroundQueue.h"
#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/QtPrinters.h"
#include "support/TestDeckServices.h"
#include "sync/CloudDeck.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>

namespace {

Tile snippetTile(const QString& text)
{
    Tile tile;
    tile.action = TileAction{TileAction::Snippet{text}};
    return tile;
}

TEST(DeckServices, TwoRootsOnTwoHomesShareNoState)
{
    QTemporaryDir homeA;
    QTemporaryDir homeB;
    const AppPaths pathsA = AppPaths::forHome(homeA.path());
    {
        TestDeckServices a(pathsA);
        TestDeckServices b(AppPaths::forHome(homeB.path()));

        a.root().store().set(snippetTile(QStringLiteral("kept")), 0, 0);
        a.root().settings().setCompact(true);
        a.root().runner().execute(TileAction{TileAction::Snippet{QStringLiteral("copied")}});

        EXPECT_EQ(a.clipboard().copied, QStringList{QStringLiteral("copied")});
        EXPECT_TRUE(b.clipboard().copied.isEmpty());
        EXPECT_NE(&a.root().runner(), &b.root().runner());
        EXPECT_TRUE(b.root().store().tile(0, 0).isEmpty());
        EXPECT_FALSE(b.root().settings().isCompact());
        EXPECT_FALSE(b.root().preferences().contains(QStringLiteral("isCompact")));
        ASSERT_TRUE(a.root().store().savePendingChange());
    }

    // What a root changed lives in its home, where the next root on that home finds it.
    TestDeckServices again(pathsA);
    EXPECT_EQ(again.root().store().tile(0, 0).action, snippetTile(QStringLiteral("kept")).action);
    EXPECT_TRUE(again.root().settings().isCompact());
}

TEST(DeckServices, AFirstLaunchStartsWithTheDesktopsFavourites)
{
    QTemporaryDir home;
    const QString editor = QStringLiteral("/usr/share/applications/org.example.Editor.desktop");
    TestDeckServices services(AppPaths::forHome(home.path()),
                              {{QStringLiteral("org.example.Editor.desktop"), editor}});

    const Tile first = services.root().store().tile(0, 0);
    ASSERT_TRUE(first.action);
    EXPECT_EQ(*first.action, TileAction{TileAction::LaunchApp{editor}});
}

TEST(DeckServices, ReachesTheDesktopsWindowsOnlyOnceATileIsRun)
{
    QTemporaryDir home;
    TestDeckServices services(AppPaths::forHome(home.path()));
    (void)services.root().store();
    (void)services.root().settings();
    EXPECT_EQ(services.windowsMade(), 0);

    (void)services.root().runner();
    (void)services.root().windowSnap();
    (void)services.root().windows();
    EXPECT_EQ(services.windowsMade(), 1);
}

} // namespace

// An icon the shared deck's queue is adopting while the clean-up is due must survive it: the clean-up waits
// for the icon work handed over before it, and then finds the icon freshly dated.
TEST(DeckServices, TheIconCleanUpWaitsForIconsBeingAdopted)
{
    QTemporaryDir home;
    TestDeckServices services(AppPaths::forHome(home.path()));
    DeckServices& root = services.root();
    const QString icon = root.paths().iconsDir() + QStringLiteral("/shared.png");
    const auto writeDated = [&icon](const QDateTime& modified) {
        QFile file(icon);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
        ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    };
    writeDated(root.clock().now().addDays(-30));
    ASSERT_FALSE(HasFailure());

    std::promise<void> adopting;
    std::shared_future<void> mayAdopt = adopting.get_future().share();
    root.cloudDeck().queue().run([mayAdopt, &writeDated, now = root.clock().now()] {
        mayAdopt.wait();
        writeDated(now);
    });
    root.cleanUpIcons();
    BackgroundQueue::waitForDone();
    EXPECT_TRUE(QFileInfo::exists(icon));
    adopting.set_value();
    root.cloudDeck().queue().waitForDone();
    EXPECT_TRUE(QFileInfo::exists(icon));
}
