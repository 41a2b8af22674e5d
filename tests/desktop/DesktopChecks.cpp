#include "DesktopChecks.h"

#include "support/DeckProcess.h"
#include "support/RunningDeck.h"
#include "support/Screenshot.h"
#include "support/X11Client.h"

#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t allWorkspaces = 0xffffffff;

} // namespace

void setTile(const QString& home, int index, const QString& json)
{
    const DeckRun set =
        runDeck(home, {QStringLiteral("set"), QStringLiteral("0"), QString::number(index), json});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
}

void runTile(const QString& home, int index)
{
    const DeckRun run = runDeck(home, {QStringLiteral("run"), QStringLiteral("0"), QString::number(index)});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
}

QJsonObject deckState(const QString& home)
{
    return QJsonDocument::fromJson(runDeck(home, {QStringLiteral("state")}).out).object();
}

QString solidPicture(const QString& folder, const QColor& colour)
{
    const QString path = folder + QStringLiteral("/wallpaper-%1.png").arg(colour.name().mid(1));
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
    return path;
}

void expectDeckStackedAndSummoned(RunningDeck& deck, const QString& home, const QString& name)
{
    const QString artefacts = QStringLiteral(MARQUETTO_TEST_ARTEFACTS_DIR);
    QDir().mkpath(artefacts);
    X11Client client;
    const xcb_window_t ordinary = client.map({600, 300, 500, 400}, 4242, "ordinary");
    // A shell still starting up may leave a new window unfocused: a pager's request focuses it.
    ASSERT_TRUE(eventually(
        [&] {
            if (client.managed(ordinary) && client.active() != ordinary)
                client.ask(ordinary, "_NET_ACTIVE_WINDOW", {2, XCB_CURRENT_TIME, 0, 0, 0});
            return client.managed(ordinary) && client.active() == ordinary;
        },
        std::chrono::seconds(10)))
        << "the window manager never managed and focused an ordinary window";
    ASSERT_TRUE(deck.start()) << deck.log().toStdString();
    xcb_window_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(eventually([&] { return (window = client.windowOf(deck.processId())) != XCB_WINDOW_NONE; },
                           std::chrono::seconds(10)))
        << "the window manager never managed the deck";
    EXPECT_TRUE(eventually([&] {
        return client.hasState(window, "_NET_WM_STATE_BELOW") &&
               client.hasState(window, "_NET_WM_STATE_SKIP_TASKBAR") &&
               client.hasState(window, "_NET_WM_STATE_SKIP_PAGER") &&
               client.get(window, "_NET_WM_DESKTOP") == std::vector<uint32_t>{allWorkspaces} &&
               client.stackingIndex(window) < client.stackingIndex(ordinary);
    })) << "the deck is not kept below on every workspace";
    EXPECT_EQ(client.active(), ordinary) << "the deck took the focus";
    (void)saveScreenshot(artefacts + QStringLiteral("/%1-desktop.png").arg(name));

    ASSERT_EQ(runDeck(home, {QStringLiteral("summon")}).status, 0);
    EXPECT_TRUE(eventually([&] {
        return client.hasState(window, "_NET_WM_STATE_ABOVE") &&
               client.stackingIndex(window) > client.stackingIndex(ordinary);
    })) << "summoning did not lift the deck";
    EXPECT_EQ(client.active(), ordinary) << "the summoned deck took the focus";
    (void)saveScreenshot(artefacts + QStringLiteral("/%1-summoned.png").arg(name));
}
