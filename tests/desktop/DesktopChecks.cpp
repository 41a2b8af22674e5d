#include "DesktopChecks.h"

#include "support/DeckProcess.h"
#include "support/RunningDeck.h"
#include "support/X11Client.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t allWorkspaces = 0xffffffff;
// A shell on a loaded machine may take a while over any step.
constexpr std::chrono::seconds patience(15);

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

QString bandText(const QString& home, const QString& module)
{
    const QJsonObject band = QJsonDocument::fromJson(runDeck(home, {QStringLiteral("band")}).out).object();
    for (const QJsonValue& shown : band.value(QStringLiteral("modules")).toArray()) {
        if (shown[QStringLiteral("module")].toString() == module)
            return shown[QStringLiteral("text")].toString();
    }
    return {};
}

QString solidPicture(const QString& folder, const QColor& colour)
{
    const QString path = folder + QStringLiteral("/wallpaper-%1.png").arg(colour.name().mid(1));
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
    return path;
}

void expectDeckStackedAndSummoned(RunningDeck& deck, const QString& home, const QString& name,
                                  const ScreenGrab& grab)
{
    const QString artefacts = QStringLiteral(MARQUETTO_TEST_ARTEFACTS_DIR);
    QDir().mkpath(artefacts);
    X11Client client;
    const xcb_window_t ordinary = client.map({600, 300, 500, 400}, 4242, "ordinary");
    ASSERT_TRUE(eventually([&] { return client.managed(ordinary); }, patience))
        << "the window manager never managed an ordinary window";
    ASSERT_TRUE(deck.start()) << deck.log().toStdString();
    xcb_window_t window = XCB_WINDOW_NONE;
    ASSERT_TRUE(
        eventually([&] { return (window = client.windowOf(deck.processId())) != XCB_WINDOW_NONE; }, patience))
        << "the window manager never managed the deck";
    // Each on its own, so that a failure says which.
    for (const char* state :
         {"_NET_WM_STATE_BELOW", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"})
        EXPECT_TRUE(eventually([&] { return client.hasState(window, state); }, patience))
            << "the deck lacks " << state;
    EXPECT_TRUE(eventually(
        [&] { return client.get(window, "_NET_WM_DESKTOP") == std::vector<uint32_t>{allWorkspaces}; },
        patience))
        << "the deck is not on every workspace";
    EXPECT_TRUE(
        eventually([&] { return client.stackingIndex(window) < client.stackingIndex(ordinary); }, patience))
        << "the deck is not kept below the ordinary window";
    EXPECT_NE(client.active(), window) << "the deck took the focus";
    EXPECT_TRUE(grab(artefacts + QStringLiteral("/%1-desktop.png").arg(name))) << "no screenshot of the deck";

    ASSERT_EQ(runDeck(home, {QStringLiteral("summon")}).status, 0);
    EXPECT_TRUE(eventually(
        [&] {
            return client.hasState(window, "_NET_WM_STATE_ABOVE") &&
                   client.stackingIndex(window) > client.stackingIndex(ordinary);
        },
        patience))
        << "summoning did not lift the deck";
    EXPECT_NE(client.active(), window) << "the summoned deck took the focus";
    EXPECT_TRUE(grab(artefacts + QStringLiteral("/%1-summoned.png").arg(name)))
        << "no screenshot of the summoned deck";
}
