// End to end on Xfce: its window manager xfwm4, its desktop xfdesktop, its settings daemon and its panel on a
// private X server and session bus. The real deck is stacked as on every desktop, tints its glass from the
// wallpaper Xfce's settings name for each workspace, and puts its status menu in the panel's notification
// area.
#include "DesktopChecks.h"
#include "support/Eventually.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/Screenshot.h"
#include "support/TempHome.h"
#include "support/TestPrograms.h"
#include "support/X11Client.h"
#include "support/XfceSession.h"
#include "support/XvfbSession.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");

QVariant busProperty(QDBusConnection& bus, const QString& service, const QString& path,
                     const QString& interface, const QString& name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interface << name;
    return bus.call(get).arguments().value(0).value<QDBusVariant>().variant();
}

// The tray item the notification area shows for the program `pid`, as "SERVICE/PATH"; empty when none.
QString trayItemOf(QDBusConnection& bus, qint64 pid)
{
    const QStringList items = busProperty(bus, watcher, QStringLiteral("/StatusNotifierWatcher"), watcher,
                                          QStringLiteral("RegisteredStatusNotifierItems"))
                                  .toStringList();
    for (const QString& item : items) {
        const QString service = item.section(u'/', 0, 0);
        if (bus.interface()->servicePid(service).value() == pid)
            return item;
    }
    return {};
}

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
    EXPECT_TRUE(eventually([&] {
        return deckState(m_paths.home).value(QStringLiteral("tint")).toString() == u"#B82525";
    })) << "no tint from the red wallpaper: "
        << QJsonDocument(deckState(m_paths.home)).toJson().toStdString();
    (void)saveScreenshot(artefacts + QStringLiteral("/xfce-tint-red.png"));

    // xfwm4 moves to the second workspace when a pager asks it to.
    m_client->ask(m_client->root(), "_NET_CURRENT_DESKTOP", {1, 0, 0, 0, 0});
    EXPECT_TRUE(eventually([&] {
        return deckState(m_paths.home).value(QStringLiteral("tint")).toString() == u"#2525B8";
    })) << "the workspace change did not sample its wallpaper: "
        << QJsonDocument(deckState(m_paths.home)).toJson().toStdString();
}

TEST_F(DeckOnXfce, TheStatusMenuSitsInTheNotificationAreaOfXfcesPanel)
{
    if (const QStringList missing = TestPrograms::missing({QStringLiteral("xfce4-panel")});
        !missing.isEmpty())
        GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
    QDBusConnection bus = m_session.connect();
    ASSERT_TRUE(m_xfce.startPanel(bus)) << m_xfce.error().toStdString();
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    QString item;
    ASSERT_TRUE(eventually([&] { return !(item = trayItemOf(bus, m_deck.processId())).isEmpty(); }))
        << "the panel shows no tray item of the deck; the deck logged " << m_deck.log().toStdString();

    const QString service = item.section(u'/', 0, 0);
    const QString path = u'/' + item.section(u'/', 1);
    const QString interface = QStringLiteral("org.kde.StatusNotifierItem");
    const auto property = [&](const char* name) {
        return busProperty(bus, service, path, interface, QLatin1String(name));
    };
    // The icon comes by name from an installed deck's theme, else as pictures.
    EXPECT_TRUE(!property("IconName").toString().isEmpty() ||
                property("IconPixmap").value<QDBusArgument>().currentSignature() == u"a(iiay)");
    EXPECT_EQ(property("Title").toString(), u"Marquetto");
    EXPECT_EQ(property("Status").toString(), u"Active");
    EXPECT_FALSE(property("Menu").value<QDBusObjectPath>().path().isEmpty()) << "the item carries no menu";
    // The panel draws the icon a moment later, dark outlined on its light bar along the top, between its
    // handles.
    const auto iconDrawn = [] {
        const std::optional<QImage> screen = grabScreen();
        for (int y = 4; screen && y < 28; ++y)
            for (int x = 12; x < screen->width() - 12; ++x)
                if (screen->pixelColor(x, y).lightness() < 100)
                    return true;
        return false;
    };
    EXPECT_TRUE(eventually(iconDrawn)) << "the panel never drew the deck's icon";
    (void)saveScreenshot(artefacts + QStringLiteral("/xfce-tray.png"));
}
