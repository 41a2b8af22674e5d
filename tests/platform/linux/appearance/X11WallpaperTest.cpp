#include "platform/linux/appearance/LinuxWallpaper.h"
#include "platform/linux/x11/XcbConnection.h"
#include "support/FakeProcessRunner.h"
#include "support/X11Client.h"
#include "support/XvfbSession.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(X11Wallpaper, FollowsTheCurrentDesktopOfTheRootWindow)
{
    if (const QStringList missing = XvfbSession::missingPrograms(); !missing.isEmpty())
        GTEST_SKIP() << "needs " << missing.join(QStringLiteral(", ")).toStdString();
    XvfbSession session;
    ASSERT_TRUE(session.start()) << session.error().toStdString();
    X11Client client;
    client.set(client.root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {0});
    client.sync();

    FakeProcessRunner runner;
    runner.answer(QStringLiteral("xfconf-query -c xfce4-desktop -l -v"),
                  QStringLiteral("/backdrop/screen0/monitorX/workspace0/last-image /zero.png\n"
                                 "/backdrop/screen0/monitorX/workspace1/last-image /one.png\n"));
    LinuxWallpaper wallpaper(runner,
                             {DesktopWallpaper::Desktop::xfce, {}, QStringLiteral("xfconf-query"), {}},
                             XcbConnection::open(session.display(), std::chrono::seconds(5)));
    QSignalSpy changes(&wallpaper, &Wallpaper::workspaceChanged);
    EXPECT_EQ(wallpaper.pictureFile(QStringLiteral("X")), QStringLiteral("/zero.png"));

    client.set(client.root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {1});
    client.sync();
    ASSERT_TRUE(eventually([&] { return changes.count() == 1; }));
    EXPECT_EQ(wallpaper.pictureFile(QStringLiteral("X")), QStringLiteral("/one.png"));

    client.set(client.root(), "_NET_CURRENT_DESKTOP", XCB_ATOM_CARDINAL, {0});
    client.sync();
    ASSERT_TRUE(eventually([&] { return changes.count() == 2; }));
    EXPECT_EQ(wallpaper.pictureFile(QStringLiteral("X")), QStringLiteral("/zero.png"));
}

} // namespace
