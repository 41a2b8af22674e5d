// End to end on GNOME Shell: the real shell, headless, with one virtual monitor and XWayland, and GNOME's
// settings in the real dconf, on the test's own session bus and runtime folder. The real deck, on XWayland,
// is stacked as on every desktop, tints its glass from the wallpaper GNOME shows, follows and switches
// GNOME's dark style through the real desktop portal, follows its Do Not Disturb and its animations switched
// off, and its keys, set up as GNOME's own custom keybindings, run its tiles when typed on the compositor's
// keyboard.
#include "DesktopChecks.h"
#include "support/DeckProcess.h"
#include "support/Eventually.h"
#include "support/GnomeSession.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QUrl>

namespace {

class DeckOnGnome : public TempHome {
protected:
    void SetUp() override
    {
        if (const QStringList missing = GnomeSession::missingPrograms(); !missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
    }

    void startShell() { ASSERT_TRUE(m_gnome.start(m_session.connect())) << m_gnome.error().toStdString(); }

    PrivateSession m_session;
    GnomeSession m_gnome{m_paths.home};
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_paths.home, QStringLiteral("GNOME")};
};

} // namespace

TEST_F(DeckOnGnome, TheDeckSitsBelowOnEveryWorkspaceAndIsLiftedWhenSummonedWithoutTheFocus)
{
    startShell();
    expectDeckStackedAndSummoned(m_deck, m_paths.home, QStringLiteral("gnome"), [this](const QString& path) {
        return m_gnome.screenshot(m_session.connect(), path);
    });
}

TEST_F(DeckOnGnome, TheGlassTakesItsTintFromTheWallpaperGnomeShows)
{
    ASSERT_TRUE(m_gnome.startSettings(m_session.connect())) << m_gnome.error().toStdString();
    ASSERT_TRUE(m_gnome.set(QStringLiteral("org.gnome.desktop.background"), QStringLiteral("picture-uri"),
                            QUrl::fromLocalFile(solidPicture(m_dir.path(), Qt::red)).toString()));
    startShell();
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    EXPECT_TRUE(eventually([&] {
        return deckState(m_paths.home).value(QStringLiteral("tint")).toString() == u"#B82525";
    })) << "no tint from the red wallpaper: "
        << QJsonDocument(deckState(m_paths.home)).toJson().toStdString() << m_deck.log().toStdString();

    // While the desktop prefers dark, GNOME shows its dark picture; the deck looks again every 15 seconds.
    const QString background = QStringLiteral("org.gnome.desktop.background");
    ASSERT_TRUE(m_gnome.set(background, QStringLiteral("picture-uri-dark"),
                            QUrl::fromLocalFile(solidPicture(m_dir.path(), Qt::blue)).toString()));
    ASSERT_TRUE(m_gnome.set(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"),
                            QStringLiteral("prefer-dark")));
    EXPECT_TRUE(eventually(
        [&] { return deckState(m_paths.home).value(QStringLiteral("tint")).toString() == u"#2525B8"; },
        std::chrono::seconds(25)))
        << "no tint from the blue dark wallpaper: "
        << QJsonDocument(deckState(m_paths.home)).toJson().toStdString();
}

TEST_F(DeckOnGnome, TheKeysSetUpAsGnomeKeybindingsRunTheTilesWhenTyped)
{
    startShell();
    ASSERT_TRUE(m_gnome.startMediaKeys()) << m_gnome.error().toStdString();
    const QString fired = m_dir.filePath(QStringLiteral("fired"));
    setTile(m_paths.home, 1,
            QStringLiteral(R"({"label": "Two", "icon": {"auto": {}}, )"
                           R"("action": {"runScript": {"source": "touch '%1'", "isAppleScript": false}}})")
                .arg(fired));
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    const DeckRun setup = runDeck(m_paths.home, {QStringLiteral("shortcuts"), QStringLiteral("setup")});
    ASSERT_EQ(setup.status, 0) << setup.out.toStdString() << setup.err.toStdString();

    // Control, Alt and 2 on an evdev keyboard; the media-keys daemon takes a moment to grab a new binding.
    QDBusConnection bus = m_session.connect();
    constexpr quint32 control = 29;
    constexpr quint32 alt = 56;
    constexpr quint32 two = 3;
    const QDeadlineTimer deadline(std::chrono::seconds(15));
    while (!QFile::exists(fired) && !deadline.hasExpired()) {
        ASSERT_TRUE(m_gnome.pressKeys(bus, {control, alt, two})) << m_gnome.error().toStdString();
        QThread::msleep(500);
    }
    EXPECT_TRUE(QFile::exists(fired))
        << "Control-Alt-2 never ran tile 2; the deck logged " << m_deck.log().toStdString();
}

TEST_F(DeckOnGnome, TheDarkModeModuleFollowsGnomesStyleThroughThePortalAndItsTileSwitchesIt)
{
    startShell();
    ASSERT_TRUE(m_gnome.startPortal(m_session.connect())) << m_gnome.error().toStdString();
    setTile(m_paths.home, 0,
            QStringLiteral(R"({"label": "Dark", "icon": {"auto": {}}, )"
                           R"("action": {"systemAction": {"action": "darkModeToggle"}}})"));
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    ASSERT_EQ(runDeck(m_paths.home, {QStringLiteral("band"), QStringLiteral("set"),
                                     QStringLiteral("darkMode"), QStringLiteral("dateTime")})
                  .status,
              0);
    const auto darkModeShows = [this](const QString& text) {
        return eventually([&] { return bandText(m_paths.home, QStringLiteral("darkMode")) == text; });
    };
    EXPECT_TRUE(darkModeShows(QStringLiteral("darkMode off")));

    const QString interface = QStringLiteral("org.gnome.desktop.interface");
    const QString scheme = QStringLiteral("color-scheme");
    ASSERT_TRUE(m_gnome.set(interface, scheme, QStringLiteral("prefer-dark")));
    EXPECT_TRUE(darkModeShows(QStringLiteral("darkMode on"))) << m_deck.log().toStdString();

    runTile(m_paths.home, 0);
    EXPECT_TRUE(darkModeShows(QStringLiteral("darkMode off"))) << m_deck.log().toStdString();
}

TEST_F(DeckOnGnome, TheFocusModuleFollowsGnomesNotificationBannersThroughDconf)
{
    startShell();
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    ASSERT_EQ(runDeck(m_paths.home, {QStringLiteral("band"), QStringLiteral("set"), QStringLiteral("focus"),
                                     QStringLiteral("dateTime")})
                  .status,
              0);
    const auto focusShows = [this](const QString& text) {
        return eventually([&] { return bandText(m_paths.home, QStringLiteral("focus")) == text; });
    };
    EXPECT_TRUE(focusShows(QStringLiteral("focus off")))
        << bandText(m_paths.home, QStringLiteral("focus")).toStdString();

    // Do Not Disturb in GNOME's own panel is its banners switched off.
    ASSERT_TRUE(m_gnome.set(QStringLiteral("org.gnome.desktop.notifications"), QStringLiteral("show-banners"),
                            QStringLiteral("false")));
    EXPECT_TRUE(focusShows(QStringLiteral("focus on")))
        << bandText(m_paths.home, QStringLiteral("focus")).toStdString() << m_deck.log().toStdString();
}

TEST_F(DeckOnGnome, TheDeckStopsItsMotionWhileGnomesAnimationsAreOff)
{
    startShell();
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    EXPECT_FALSE(deckState(m_paths.home).value(QStringLiteral("reduceMotion")).toBool());
    ASSERT_TRUE(m_gnome.set(QStringLiteral("org.gnome.desktop.interface"),
                            QStringLiteral("enable-animations"), QStringLiteral("false")));
    EXPECT_TRUE(eventually([&] {
        return deckState(m_paths.home).value(QStringLiteral("reduceMotion")).toBool();
    })) << m_deck.log().toStdString();
}
