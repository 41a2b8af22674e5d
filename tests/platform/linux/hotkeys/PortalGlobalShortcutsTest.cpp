#include "platform/linux/hotkeys/PortalGlobalShortcuts.h"

#include "deck/HotKeys.h"
#include "platform/linux/hotkeys/DesktopHotKeys.h"
#include "support/FakeShortcutsPortal.h"
#include "support/LogCapture.h"
#include "support/PrivateBus.h"

#include <QDBusObjectPath>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Portal = FakeShortcutsPortal;

class PortalGlobalShortcutsTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
        restart();
    }

    void TearDown() override
    {
        if (m_bus.isRunning())
            settle();
    }

    // A new object, registering the deck's ten keys.
    void restart()
    {
        m_keys = std::make_unique<PortalGlobalShortcuts>(m_client);
        m_keys->registerKey(DeckHotKeys::spaceKeyCode, DeckHotKeys::controlOption, DeckHotKeys::summonId,
                            {QStringLiteral("summon"), QStringLiteral("Summon the deck")});
        for (std::uint32_t tile = 1; tile <= 9; ++tile)
            m_keys->registerKey(
                DeckHotKeys::digitKeyCodes[tile - 1], DeckHotKeys::controlOption, tile,
                {QStringLiteral("tile-%1").arg(tile), QStringLiteral("Run tile %1").arg(tile)});
    }

    void settle() { m_portal.service().settle(m_client); }

    void respond(const QString& method, uint code, const QVariantMap& results = {})
    {
        ASSERT_TRUE(m_portal.respond(method, code, results));
        settle();
    }

    void bindWith(const PortalShortcuts& shortcuts)
    {
        ASSERT_TRUE(m_portal.createTheSession());
        ASSERT_TRUE(m_portal.bind(shortcuts));
        settle();
    }

    void emitFromPortal(const QString& name, const QVariantList& arguments)
    {
        m_portal.emitShortcutSignal(name, arguments);
        settle();
    }

    PrivateBus m_bus;
    QDBusConnection m_client = m_bus.connect();
    QDBusConnection m_service = m_bus.connect();
    Portal m_portal{m_service};
    std::unique_ptr<PortalGlobalShortcuts> m_keys;
};

TEST_F(PortalGlobalShortcutsTest, BindsTheTenKeysInOneSessionAndTheDesktopsKeysPressTheirIds)
{
    m_portal.offer();
    QSignalSpy pressed(m_keys.get(), &GlobalHotKeys::pressed);
    PortalShortcuts all{Portal::bound(QStringLiteral("summon"), QStringLiteral("Ctrl+Alt+Space"))};
    for (int tile = 1; tile <= 9; ++tile)
        all.append(
            Portal::bound(QStringLiteral("tile-%1").arg(tile), QStringLiteral("Ctrl+Alt+%1").arg(tile)));
    bindWith(all);

    const FakeDBusService& service = m_portal.service();
    ASSERT_EQ(service.callsTo(Portal::createSession).size(), 1U);
    ASSERT_EQ(service.callsTo(Portal::bindShortcuts).size(), 1U);
    const QVariantList arguments = service.callsTo(Portal::bindShortcuts).front().arguments;
    EXPECT_EQ(arguments.value(0).value<QDBusObjectPath>().path(), Portal::sessionPath);
    const auto asked = qdbus_cast<PortalShortcuts>(arguments.value(1));
    ASSERT_EQ(asked.size(), 10);
    const auto property = [&asked](int index, const char* name) {
        return asked[index].properties.value(QLatin1String(name)).toString();
    };
    EXPECT_EQ(asked[0].id, QStringLiteral("tile-1"));
    EXPECT_EQ(property(0, "description"), QStringLiteral("Run tile 1"));
    EXPECT_EQ(property(4, "preferred_trigger"), QStringLiteral("CTRL+ALT+5"));
    EXPECT_EQ(asked[9].id, QStringLiteral("summon"));
    EXPECT_EQ(property(9, "description"), QStringLiteral("Summon the deck"));
    EXPECT_EQ(property(9, "preferred_trigger"), QStringLiteral("CTRL+ALT+space"));
    EXPECT_EQ(m_keys->triggers().at(DeckHotKeys::summonId), QStringLiteral("Ctrl+Alt+Space"));

    const QVariant ours = QVariant::fromValue(QDBusObjectPath(Portal::sessionPath));
    const QVariant theirs =
        QVariant::fromValue(QDBusObjectPath(Portal::path + QStringLiteral("/session/2/x")));
    emitFromPortal(QStringLiteral("Activated"),
                   {ours, QStringLiteral("tile-2"), qulonglong(7), QVariantMap{}});
    emitFromPortal(QStringLiteral("Activated"),
                   {theirs, QStringLiteral("tile-3"), qulonglong(8), QVariantMap{}});
    emitFromPortal(QStringLiteral("Activated"),
                   {ours, QStringLiteral("summon"), qulonglong(9), QVariantMap{}});
    ASSERT_EQ(pressed.size(), 2);
    EXPECT_EQ(pressed[0][0].value<std::uint32_t>(), 2U);
    EXPECT_EQ(pressed[1][0].value<std::uint32_t>(), DeckHotKeys::summonId);

    // The user chose other keys in the desktop's settings.
    QSignalSpy changed(m_keys.get(), &GlobalHotKeys::triggersChanged);
    emitFromPortal(QStringLiteral("ShortcutsChanged"),
                   {ours, QVariant::fromValue(PortalShortcuts{
                              Portal::bound(QStringLiteral("tile-2"), QStringLiteral("F2"))})});
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(m_keys->triggers().at(2), QStringLiteral("F2"));
    EXPECT_EQ(m_keys->triggers().at(DeckHotKeys::summonId), QStringLiteral("Ctrl+Alt+Space"));
}

TEST_F(PortalGlobalShortcutsTest,
       APortalThatBindsAsTheSessionIsMadeIsAskedToBindAgainOnlyForKeysRegisteredMeanwhile)
{
    m_portal.offer();
    ASSERT_TRUE(m_portal.service().waitForCalls(Portal::createSession, 1));
    // Registered while the session is being made.
    m_keys->registerKey(DeckHotKeys::spaceKeyCode, DeckHotKeys::controlOption, 10,
                        {QStringLiteral("late"), QStringLiteral("A late key")});
    settle();
    ASSERT_TRUE(m_portal.respond(
        Portal::createSession, 0,
        {{QStringLiteral("session_handle"), QVariant::fromValue(QDBusObjectPath(Portal::sessionPath))},
         {QStringLiteral("shortcuts"), QVariant::fromValue(PortalShortcuts{Portal::bound(
                                           QStringLiteral("summon"), QStringLiteral("Ctrl+Alt+Space"))})}}));
    settle();
    const FakeDBusService& service = m_portal.service();
    const auto options =
        qdbus_cast<QVariantMap>(service.callsTo(Portal::createSession).front().arguments.value(0));
    EXPECT_EQ(qdbus_cast<PortalShortcuts>(options.value(QStringLiteral("shortcuts"))).size(), 10);
    EXPECT_EQ(m_keys->triggers().at(DeckHotKeys::summonId), QStringLiteral("Ctrl+Alt+Space"));
    ASSERT_TRUE(m_portal.waitForNext(Portal::bindShortcuts)) << "the late key was never bound";
    EXPECT_EQ(
        qdbus_cast<PortalShortcuts>(service.callsTo(Portal::bindShortcuts).front().arguments.value(1)).size(),
        11);

    // The desktop keeps the keys a user chose under the session's token: every start asks with the same one.
    restart();
    ASSERT_TRUE(m_portal.createTheSessionBinding({}));
    settle();
    EXPECT_EQ(service.callsTo(Portal::bindShortcuts).size(), 1U) << "the keys it bound were asked for again";
    const auto token = [&](std::size_t call) {
        return qdbus_cast<QVariantMap>(service.callsTo(Portal::createSession).at(call).arguments.value(0))
            .value(QStringLiteral("session_handle_token"));
    };
    EXPECT_EQ(token(1), token(0));
}

TEST_F(PortalGlobalShortcutsTest, KeysTheDesktopLeftUnboundAreLoggedAndShownEmpty)
{
    m_portal.offer();
    LogCapture log;
    bindWith({Portal::bound(QStringLiteral("summon"), QStringLiteral("Ctrl+Alt+Space")),
              Portal::bound(QStringLiteral("tile-1"), QStringLiteral("Ctrl+Alt+1"))});
    const auto triggers = m_keys->triggers();
    EXPECT_EQ(triggers.size(), 10U);
    EXPECT_EQ(triggers.at(1), QStringLiteral("Ctrl+Alt+1"));
    EXPECT_EQ(triggers.at(9), QString());
    EXPECT_TRUE(log.lines().join(u'\n').contains(QStringLiteral("Run tile 2, Run tile 3")));
}

TEST_F(PortalGlobalShortcutsTest, APortalThatRefusesFailsFallsSilentOrLeavesTurnsTheKeysOffWithALogLine)
{
    struct Case {
        const char* name;
        std::function<void()> fault;
        QString logged;
    };
    const QVariantMap session{
        {QStringLiteral("session_handle"), QVariant::fromValue(QDBusObjectPath(Portal::sessionPath))}};
    // The first case runs before the portal scripts BindShortcuts, which is answered with an error until
    // then.
    const Case cases[] = {
        {"error reply",
         [this] {
             m_portal.service().answer(Portal::path, Portal::createSession, {});
             respond(Portal::createSession, 0, {{QStringLiteral("session_handle"), Portal::sessionPath}});
             ASSERT_TRUE(m_portal.waitForNext(Portal::bindShortcuts));
         },
         QStringLiteral("refused BindShortcuts: org.freedesktop.DBus.Error.UnknownMethod")},
        {"session refused", [this] { respond(Portal::createSession, 2); },
         QStringLiteral("refused CreateSession (2)")},
        {"no session handle", [this] { respond(Portal::createSession, 0); },
         QStringLiteral("made no session")},
        {"user cancelled",
         [&] {
             respond(Portal::createSession, 0, session);
             respond(Portal::bindShortcuts, 1);
         },
         QStringLiteral("refused BindShortcuts (the user cancelled)")},
        {"silence",
         [this] {
             ASSERT_TRUE(m_portal.waitForNext(Portal::createSession));
             m_keys->answerTimedOut();
         },
         QStringLiteral("did not answer CreateSession within 30 s")},
        {"portal gone",
         [this] {
             bindWith({Portal::bound(QStringLiteral("summon"), QStringLiteral("Ctrl+Alt+Space"))});
             m_service.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
             settle();
         },
         QStringLiteral("left the session bus")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        LogCapture log;
        c.fault();
        settle();
        EXPECT_TRUE(log.lines().join(u'\n').contains(c.logged)) << log.lines().join(u'\n').toStdString();
        EXPECT_EQ(m_keys->triggers().at(DeckHotKeys::summonId), QString());
        EXPECT_FALSE(m_keys->registerKey(DeckHotKeys::spaceKeyCode, DeckHotKeys::controlOption,
                                         DeckHotKeys::summonId, {}));
        m_portal.offer();
    }
}

TEST_F(PortalGlobalShortcutsTest, TheProbeReadsThePortalsVersion)
{
    EXPECT_EQ(PortalGlobalShortcuts::offeredVersion(m_client, std::chrono::seconds(5)), std::nullopt);
    m_portal.offer();
    EXPECT_EQ(PortalGlobalShortcuts::offeredVersion(m_client, std::chrono::seconds(5)), 1U);
}

TEST(DesktopHotKeys, TheSessionsEnvironmentChoosesTheMechanism)
{
    struct Case {
        DesktopHotKeys::Session session;
        bool portal;
        HotKeyMechanism expected;
    };
    const QString x11 = QStringLiteral("x11");
    const QString wayland = QStringLiteral("wayland");
    const QString display = QStringLiteral("wayland-0");
    const QString gnome = QStringLiteral("ubuntu:GNOME");
    const QString kde = QStringLiteral("KDE");
    const Case cases[] = {
        {{x11, {}, gnome}, true, HotKeyMechanism::x11},
        {{x11, display, kde}, true, HotKeyMechanism::x11}, // a nested compositor's socket
        {{{}, {}, {}}, false, HotKeyMechanism::x11},
        {{QStringLiteral("tty"), {}, {}}, true, HotKeyMechanism::x11},
        {{QStringLiteral("Wayland"), {}, kde}, true, HotKeyMechanism::portal},
        {{{}, display, gnome}, true, HotKeyMechanism::portal},
        {{wayland, display, gnome}, false, HotKeyMechanism::gnomeKeybindings},
        {{wayland, {}, QStringLiteral("GNOME-Classic:GNOME")}, false, HotKeyMechanism::gnomeKeybindings},
        {{wayland, display, kde}, false, HotKeyMechanism::none},
        {{{}, display, {}}, false, HotKeyMechanism::none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            (c.session.sessionType + u'|' + c.session.waylandDisplay + u'|' + c.session.currentDesktop)
                .toStdString());
        EXPECT_EQ(DesktopHotKeys::mechanism(c.session, c.portal), c.expected);
    }
}

} // namespace
