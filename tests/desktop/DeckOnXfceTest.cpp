// End to end on Xfce: its window manager xfwm4, its desktop xfdesktop and its settings daemon on a private X
// server and session bus. The real deck sits below other windows on every workspace and out of the taskbar,
// is lifted when summoned without taking the focus, and tints its glass from the wallpaper Xfce's settings
// name for each workspace.
#include "support/DeckProcess.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/Screenshot.h"
#include "support/TempHome.h"
#include "support/X11Client.h"
#include "support/XfceSession.h"
#include "support/XvfbSession.h"

#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString artefacts = QStringLiteral(MARQUETTO_TEST_ARTEFACTS_DIR);
constexpr uint32_t allWorkspaces = 0xffffffff;
// Xvfb's one output, as Xfce's settings name its monitor.
const QString monitor = QStringLiteral("monitorscreen");

class DeckOnXfce : public TempHome {
protected:
    void SetUp() override
    {
        const QStringList missing = XvfbSession::missingPrograms(false) + XfceSession::missingPrograms();
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
        ASSERT_TRUE(m_xfce.start()) << m_xfce.error().toStdString();
        m_client = std::make_unique<X11Client>();
        QDir().mkpath(artefacts);
    }

    QString picture(const QColor& colour)
    {
        const QString path = m_dir.filePath(QStringLiteral("wallpaper-%1.png").arg(colour.name().mid(1)));
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    void startDeck() { ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString(); }

    QJsonObject state()
    {
        return QJsonDocument::fromJson(runDeck(m_paths.home, {QStringLiteral("state")}).out).object();
    }

    // The deck's top-level window among those the window manager manages; 0 until it manages it.
    xcb_window_t deckWindow()
    {
        for (const uint32_t window : m_client->get(m_client->root(), "_NET_CLIENT_LIST")) {
            if (m_client->get(window, "_NET_WM_PID") ==
                std::vector<uint32_t>{static_cast<uint32_t>(m_deck.processId())})
                return window;
        }
        return 0;
    }

    bool hasState(xcb_window_t window, const char* state)
    {
        const auto states = m_client->get(window, "_NET_WM_STATE");
        return std::find(states.begin(), states.end(), m_client->atom(state)) != states.end();
    }

    std::ptrdiff_t stackingIndex(xcb_window_t window)
    {
        const auto stacking = m_client->get(m_client->root(), "_NET_CLIENT_LIST_STACKING");
        return std::find(stacking.begin(), stacking.end(), window) - stacking.begin();
    }

    PrivateSession m_session;
    XvfbSession m_x{XvfbSession::Options{{1280, 800}, false}};
    XfceSession m_xfce;
    std::unique_ptr<X11Client> m_client;
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home, QStringLiteral("XFCE")};
};

} // namespace

TEST_F(DeckOnXfce, TheDeckSitsBelowOnEveryWorkspaceAndIsLiftedWhenSummonedWithoutTheFocus)
{
    const xcb_window_t ordinary = m_client->map({600, 300, 500, 400}, 4242, "ordinary");
    ASSERT_TRUE(eventually([&] { return m_client->managed(ordinary) && m_client->active() == ordinary; }));
    startDeck();
    xcb_window_t deck = 0;
    ASSERT_TRUE(eventually([&] { return (deck = deckWindow()) != 0; }, std::chrono::seconds(10)))
        << "xfwm4 never managed the deck";
    EXPECT_TRUE(eventually([&] {
        return hasState(deck, "_NET_WM_STATE_BELOW") && hasState(deck, "_NET_WM_STATE_SKIP_TASKBAR") &&
               hasState(deck, "_NET_WM_STATE_SKIP_PAGER") &&
               m_client->get(deck, "_NET_WM_DESKTOP") == std::vector<uint32_t>{allWorkspaces} &&
               stackingIndex(deck) < stackingIndex(ordinary);
    })) << "the deck is not kept below on every workspace";
    EXPECT_EQ(m_client->active(), ordinary);
    (void)saveScreenshot(artefacts + QStringLiteral("/xfce-desktop.png"));

    ASSERT_EQ(runDeck(m_paths.home, {QStringLiteral("summon")}).status, 0);
    EXPECT_TRUE(eventually([&] {
        return hasState(deck, "_NET_WM_STATE_ABOVE") && stackingIndex(deck) > stackingIndex(ordinary);
    })) << "summoning did not lift the deck";
    EXPECT_EQ(m_client->active(), ordinary) << "the summoned deck took the focus";
    (void)saveScreenshot(artefacts + QStringLiteral("/xfce-summoned.png"));
}

TEST_F(DeckOnXfce, TheGlassTakesItsTintFromTheWallpaperXfceShowsOnEachWorkspace)
{
    ASSERT_TRUE(m_xfce.setWallpaper(monitor, 0, picture(Qt::red)));
    ASSERT_TRUE(m_xfce.setWallpaper(monitor, 1, picture(Qt::blue)));
    startDeck();
    EXPECT_TRUE(eventually([&] { return state().value(QStringLiteral("tint")).toString() == u"#B82525"; },
                           std::chrono::seconds(10)))
        << "no tint from the red wallpaper: " << QJsonDocument(state()).toJson().toStdString();
    (void)saveScreenshot(artefacts + QStringLiteral("/xfce-tint-red.png"));

    // xfwm4 moves to the second workspace when a pager asks it to.
    m_client->ask(m_client->root(), "_NET_CURRENT_DESKTOP", {1, 0, 0, 0, 0});
    EXPECT_TRUE(eventually([&] { return state().value(QStringLiteral("tint")).toString() == u"#2525B8"; },
                           std::chrono::seconds(10)))
        << "the workspace change did not sample its wallpaper: "
        << QJsonDocument(state()).toJson().toStdString();
}
