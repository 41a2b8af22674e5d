// End to end on KDE Plasma's compositor: the real KWin, headless, with one virtual screen and XWayland, and
// the real desktop portal with Plasma's backend, on the test's own session bus and runtime folder. The real
// deck, on XWayland, is stacked as on every desktop, binds its ten keys through the portal's global shortcuts
// under its own app id, and runs its tile when Plasma's shortcut daemon fires one of them.
#include "DesktopChecks.h"
#include "core/AppId.h"
#include "support/AppScope.h"
#include "support/Eventually.h"
#include "support/KWinSession.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/TempHome.h"

#include <QFile>
#include <QJsonDocument>

namespace {

class DeckOnKWin : public TempHome {
protected:
    void SetUp() override
    {
        if (const QStringList missing = KWinSession::missingPrograms(); !missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_kwin.start()) << m_kwin.error().toStdString();
    }

    PrivateSession m_session;
    KWinSession m_kwin{m_paths.home};
    // Outlives the deck: a scope goes only once nothing runs in it.
    AppScope m_scope{AppId::id()};
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home, QStringLiteral("KDE")};
};

} // namespace

TEST_F(DeckOnKWin, TheDeckSitsBelowOnEveryWorkspaceAndIsLiftedWhenSummonedWithoutTheFocus)
{
    expectDeckStackedAndSummoned(m_deck, m_paths.home, QStringLiteral("kwin"), [this](const QString& path) {
        return m_kwin.screenshot(m_session.connect(), path);
    });
}

TEST_F(DeckOnKWin, TheDeckBindsItsKeysThroughThePortalAndAKeyPlasmaFiresRunsItsTile)
{
    // A Plasma session's launcher starts each program in a scope named after its desktop entry, and the
    // portal binds keys only for a program it knows by such an id.
    if (!m_scope.isReady())
        GTEST_SKIP() << "needs a cgroup v2 hierarchy it may change, to give the deck its app id: "
                     << m_scope.error().toStdString();
    ASSERT_TRUE(m_kwin.startPortal(m_session.connect())) << m_kwin.error().toStdString();
    const QString fired = m_dir.filePath(QStringLiteral("fired"));
    setTile(m_paths.home, 1,
            QStringLiteral(R"({"label": "Two", "icon": {"auto": {}}, )"
                           R"("action": {"runScript": {"source": "touch '%1'", "isAppleScript": false}}})")
                .arg(fired));
    m_deck.startIn(m_scope.processesFile());
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();

    const auto keys = [this] { return deckState(m_paths.home).value(QStringLiteral("hotKeys")).toObject(); };
    EXPECT_TRUE(eventually([&] {
        return keys().value(QStringLiteral("triggers")).toObject().value(QStringLiteral("2")).toString() ==
               u"Ctrl+Alt+2";
    })) << "the portal bound no Control-Alt-2: "
        << QJsonDocument(keys()).toJson().toStdString() << m_deck.log().toStdString();
    EXPECT_EQ(keys().value(QStringLiteral("mechanism")).toString(), u"portal");
    QDBusConnection bus = m_session.connect();
    EXPECT_EQ(KWinSession::shortcutsOf(bus, AppId::id()).size(), 10)
        << KWinSession::shortcutsOf(bus, AppId::id()).join(u' ').toStdString();

    ASSERT_TRUE(KWinSession::invokeShortcut(bus, AppId::id(), QStringLiteral("tile-2")));
    EXPECT_TRUE(eventually([&] { return QFile::exists(fired); }))
        << "the key Plasma fired never ran tile 2; the deck logged " << m_deck.log().toStdString();
}
