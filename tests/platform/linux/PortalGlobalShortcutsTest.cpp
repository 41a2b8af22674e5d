#include "platform/linux/PortalGlobalShortcuts.h"

#include "panel/HotKeys.h"
#include "platform/linux/DesktopHotKeys.h"
#include "platform/linux/PortalShortcut.h"
#include "support/FakeDBusService.h"
#include "support/LogCapture.h"
#include "support/PrivateBus.h"

#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString createSession = shortcutsInterface + QStringLiteral(".CreateSession");
const QString bindShortcuts = shortcutsInterface + QStringLiteral(".BindShortcuts");
const QString sessionPath = QStringLiteral("/org/freedesktop/portal/desktop/session/1_1/ours");

PortalShortcut bound(const QString& id, const QString& trigger)
{
    return {id, {{QStringLiteral("trigger_description"), trigger}}};
}

class PortalGlobalShortcutsTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
        PortalShortcut::registerType();
        m_portal.answer(portalPath, createSession, {QVariant::fromValue(QDBusObjectPath(otherRequest))});
        restart();
    }

    void TearDown() override
    {
        if (m_bus.isRunning())
            m_portal.settle(m_client);
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

    // Waits for the next call of `method` and answers it the way the portal does: on the request path the
    // caller expects.
    void respond(const QString& method, uint code, const QVariantMap& results = {})
    {
        const std::size_t index = m_answered[method]++;
        ASSERT_TRUE(m_portal.waitForCalls(method, index + 1));
        const FakeDBusService::Call call = m_portal.callsTo(method).at(index);
        const QString token =
            qdbus_cast<QVariantMap>(call.arguments.back()).value(QStringLiteral("handle_token")).toString();
        ASSERT_FALSE(token.isEmpty());
        QString sender = call.sender.mid(1);
        sender.replace(u'.', u'_');
        m_portal.emitSignal(portalPath + QStringLiteral("/request/") + sender + u'/' + token,
                            QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                            {code, results});
        m_portal.settle(m_client);
    }

    void createTheSession()
    {
        respond(createSession, 0,
                {{QStringLiteral("session_handle"), QVariant::fromValue(QDBusObjectPath(sessionPath))}});
    }

    void bindWith(const PortalShortcuts& shortcuts)
    {
        m_portal.answer(portalPath, bindShortcuts, {QVariant::fromValue(QDBusObjectPath(otherRequest))});
        createTheSession();
        respond(bindShortcuts, 0, {{QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts)}});
    }

    void emitFromPortal(const QString& name, const QVariantList& arguments)
    {
        m_portal.emitSignal(portalPath, shortcutsInterface, name, arguments);
        m_portal.settle(m_client);
    }

    const QString otherRequest = portalPath + QStringLiteral("/request/elsewhere/1");
    PrivateBus m_bus;
    QDBusConnection m_client = m_bus.connect();
    QDBusConnection m_service = m_bus.connect();
    FakeDBusService m_portal{m_service, QStringLiteral("org.freedesktop.portal.Desktop")};
    std::map<QString, std::size_t> m_answered;
    std::unique_ptr<PortalGlobalShortcuts> m_keys;
};

TEST_F(PortalGlobalShortcutsTest, BindsTheTenKeysInOneSessionAndTheDesktopsKeysPressTheirIds)
{
    QSignalSpy pressed(m_keys.get(), &GlobalHotKeys::pressed);
    PortalShortcuts all{bound(QStringLiteral("summon"), QStringLiteral("Ctrl+Alt+Space"))};
    for (int tile = 1; tile <= 9; ++tile)
        all.append(bound(QStringLiteral("tile-%1").arg(tile), QStringLiteral("Ctrl+Alt+%1").arg(tile)));
    bindWith(all);

    ASSERT_EQ(m_portal.callsTo(createSession).size(), 1U);
    ASSERT_EQ(m_portal.callsTo(bindShortcuts).size(), 1U);
    const QVariantList arguments = m_portal.callsTo(bindShortcuts).front().arguments;
    EXPECT_EQ(arguments.value(0).value<QDBusObjectPath>().path(), sessionPath);
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

    const QVariant ours = QVariant::fromValue(QDBusObjectPath(sessionPath));
    const QVariant theirs = QVariant::fromValue(QDBusObjectPath(portalPath + QStringLiteral("/session/2/x")));
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
    emitFromPortal(
        QStringLiteral("ShortcutsChanged"),
        {ours, QVariant::fromValue(PortalShortcuts{bound(QStringLiteral("tile-2"), QStringLiteral("F2"))})});
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(m_keys->triggers().at(2), QStringLiteral("F2"));
    EXPECT_EQ(m_keys->triggers().at(DeckHotKeys::summonId), QStringLiteral("Ctrl+Alt+Space"));
}

TEST_F(PortalGlobalShortcutsTest, KeysTheDesktopLeftUnboundAreLoggedAndShownEmpty)
{
    LogCapture log;
    bindWith({bound(QStringLiteral("summon"), QStringLiteral("Ctrl+Alt+Space")),
              bound(QStringLiteral("tile-1"), QStringLiteral("Ctrl+Alt+1"))});
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
    // In this order: BindShortcuts is answered with an error until a case scripts it.
    const Case cases[] = {
        {"error reply",
         [this] {
             createTheSession();
             ASSERT_TRUE(m_portal.waitForCalls(bindShortcuts, ++m_answered[bindShortcuts]));
         },
         QStringLiteral("refused BindShortcuts: org.freedesktop.DBus.Error.UnknownMethod")},
        {"session refused", [this] { respond(createSession, 2); },
         QStringLiteral("refused CreateSession (2)")},
        {"no session handle", [this] { respond(createSession, 0); }, QStringLiteral("made no session")},
        {"user cancelled",
         [this] {
             m_portal.answer(portalPath, bindShortcuts, {});
             createTheSession();
             respond(bindShortcuts, 1);
         },
         QStringLiteral("refused BindShortcuts (the user cancelled)")},
        {"silence",
         [this] {
             ASSERT_TRUE(m_portal.waitForCalls(createSession, ++m_answered[createSession]));
             m_keys->answerTimedOut();
         },
         QStringLiteral("did not answer CreateSession within 30 s")},
        {"portal gone",
         [this] {
             bindWith({bound(QStringLiteral("summon"), QStringLiteral("Ctrl+Alt+Space"))});
             m_service.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
             m_portal.settle(m_client);
         },
         QStringLiteral("left the session bus")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        LogCapture log;
        c.fault();
        m_portal.settle(m_client);
        EXPECT_TRUE(log.lines().join(u'\n').contains(c.logged)) << log.lines().join(u'\n').toStdString();
        EXPECT_EQ(m_keys->triggers().at(DeckHotKeys::summonId), QString());
        EXPECT_FALSE(m_keys->registerKey(DeckHotKeys::spaceKeyCode, DeckHotKeys::controlOption,
                                         DeckHotKeys::summonId, {}));
    }
}

TEST_F(PortalGlobalShortcutsTest, TheProbeReadsThePortalsVersion)
{
    EXPECT_EQ(PortalGlobalShortcuts::offeredVersion(m_client, std::chrono::seconds(5)), std::nullopt);
    m_portal.answer(portalPath, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                    {QVariant::fromValue(QDBusVariant(uint(2)))});
    EXPECT_EQ(PortalGlobalShortcuts::offeredVersion(m_client, std::chrono::seconds(5)), 2U);
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
