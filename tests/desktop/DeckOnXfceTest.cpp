// End to end on Xfce: its window manager xfwm4, its desktop xfdesktop and its settings daemon on a private X
// server and session bus. The real deck is stacked as on every desktop, and tints its glass from the
// wallpaper Xfce's settings name for each workspace.
#include "DesktopChecks.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/Screenshot.h"
#include "support/TempHome.h"
#include "support/X11Client.h"
#include "support/XfceSession.h"
#include "support/XvfbSession.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString artefacts = QStringLiteral(MARQUETTO_TEST_ARTEFACTS_DIR);
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

    PrivateSession m_session;
    XvfbSession m_x{XvfbSession::Options{{1280, 800}, false}};
    XfceSession m_xfce{m_paths.home};
    std::unique_ptr<X11Client> m_client;
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home, QStringLiteral("XFCE")};
};

} // namespace

TEST_F(DeckOnXfce, TheDeckSitsBelowOnEveryWorkspaceAndIsLiftedWhenSummonedWithoutTheFocus)
{
    expectDeckStackedAndSummoned(m_deck, m_paths.home, QStringLiteral("xfce"));
}

TEST_F(DeckOnXfce, TheGlassTakesItsTintFromTheWallpaperXfceShowsOnEachWorkspace)
{
    ASSERT_TRUE(m_xfce.setWallpaper(monitor, 0, solidPicture(m_dir.path(), Qt::red)));
    ASSERT_TRUE(m_xfce.setWallpaper(monitor, 1, solidPicture(m_dir.path(), Qt::blue)));
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    EXPECT_TRUE(eventually(
        [&] { return deckState(m_paths.home).value(QStringLiteral("tint")).toString() == u"#B82525"; },
        std::chrono::seconds(10)))
        << "no tint from the red wallpaper: "
        << QJsonDocument(deckState(m_paths.home)).toJson().toStdString();
    (void)saveScreenshot(artefacts + QStringLiteral("/xfce-tint-red.png"));

    // xfwm4 moves to the second workspace when a pager asks it to.
    m_client->ask(m_client->root(), "_NET_CURRENT_DESKTOP", {1, 0, 0, 0, 0});
    EXPECT_TRUE(eventually(
        [&] { return deckState(m_paths.home).value(QStringLiteral("tint")).toString() == u"#2525B8"; },
        std::chrono::seconds(10)))
        << "the workspace change did not sample its wallpaper: "
        << QJsonDocument(deckState(m_paths.home)).toJson().toStdString();
}
