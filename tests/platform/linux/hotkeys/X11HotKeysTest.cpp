#include "platform/linux/hotkeys/X11HotKeys.h"

#include "support/X11Client.h"
#include "support/XvfbSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Carbon modifier bits, as the deck's table names its keys.
constexpr std::uint32_t control = 0x1000;
constexpr std::uint32_t option = 0x0800;
constexpr std::uint32_t shift = 0x0200;
constexpr std::uint32_t space = 49;
constexpr std::uint32_t digit2 = 19, digit9 = 25;

class X11HotKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStringList missing = XvfbSession::missingPrograms();
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            missing << QStringLiteral("xdotool");
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(QStringLiteral(", ")).toStdString()
                         << " (scripts/bootstrap installs them)";
        ASSERT_TRUE(m_session.start()) << m_session.error().toStdString();
        m_keys = createX11HotKeys();
        QObject::connect(m_keys.get(), &GlobalHotKeys::pressed,
                         [this](std::uint32_t id) { m_pressed.push_back(id); });
    }

    // Types keys as a user would; the server receives them before this returns.
    static void type(const QString& keys) { ASSERT_EQ(xdotool({QStringLiteral("key"), keys}), 0); }
    static int xdotool(const QStringList& arguments)
    {
        return QProcess::execute(QStringLiteral("xdotool"), arguments);
    }

    // The ids pressed up to and including the first press of `last`: presses arrive in order, so this
    // also shows what earlier keys did not fire.
    std::vector<std::uint32_t> pressedUntil(std::uint32_t last)
    {
        eventually([&] { return std::find(m_pressed.begin(), m_pressed.end(), last) != m_pressed.end(); });
        std::vector<std::uint32_t> seen;
        std::swap(seen, m_pressed);
        return seen;
    }

    XvfbSession m_session;
    std::unique_ptr<GlobalHotKeys> m_keys;
    std::vector<std::uint32_t> m_pressed;
};

TEST_F(X11HotKeysTest, TheDecksKeysFireTheirIdsWhateverTheLocks)
{
    ASSERT_TRUE(m_keys->registerKey(space, control | option, 100, {}));
    ASSERT_TRUE(m_keys->registerKey(digit2, control | option, 2, {}));
    ASSERT_TRUE(m_keys->registerKey(digit9, control | option, 9, {}));
    struct Case {
        const char* name;
        const char* toggle; // a lock key, pressed before and after
    };
    const Case cases[] = {{"no lock", nullptr}, {"caps lock", "Caps_Lock"}, {"num lock", "Num_Lock"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.toggle != nullptr)
            type(QLatin1String(c.toggle));
        type(QStringLiteral("ctrl+alt+2"));
        type(QStringLiteral("ctrl+alt+space"));
        type(QStringLiteral("ctrl+2")); // not the deck's: Option missing
        type(QStringLiteral("ctrl+alt+9"));
        EXPECT_EQ(pressedUntil(9), (std::vector<std::uint32_t>{2, 100, 9}));
        if (c.toggle != nullptr)
            type(QLatin1String(c.toggle));
    }
}

TEST_F(X11HotKeysTest, AKeyHeldDownFiresOncePerPress)
{
    ASSERT_TRUE(m_keys->registerKey(space, control | option, 100, {}));
    ASSERT_TRUE(m_keys->registerKey(digit9, control | option, 9, {}));
    ASSERT_EQ(xdotool({QStringLiteral("keydown"), QStringLiteral("ctrl+alt+space")}), 0);
    // The server starts repeating a held key after 660 ms, then every 40 ms; its clock is its own.
    QDeadlineTimer held(1500);
    while (!held.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(xdotool({QStringLiteral("keyup"), QStringLiteral("ctrl+alt+space")}), 0);
    type(QStringLiteral("ctrl+alt+space"));
    type(QStringLiteral("ctrl+alt+9"));
    EXPECT_EQ(pressedUntil(9), (std::vector<std::uint32_t>{100, 100, 9}));
}

TEST_F(X11HotKeysTest, AKeyAnotherProgramHoldsIsRefusedQuietly)
{
    {
        X11Client other;
        ASSERT_TRUE(other.grabKey(XCB_GRAB_ANY, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
        EXPECT_FALSE(m_keys->registerKey(digit2, control | option, 2, {}));
        EXPECT_FALSE(m_keys->registerKey(space, control | option, 100, {}));
        EXPECT_TRUE(m_keys->registerKey(digit2, control | shift, 20, {}));
        EXPECT_EQ(m_keys->triggers(), (std::map<std::uint32_t, QString>{
                                          {2, {}}, {20, QStringLiteral("CTRL+SHIFT+2")}, {100, {}}}));
    }
    // Once the other program has gone, the keys can be had; nothing of the refused grabs was left behind.
    EXPECT_TRUE(eventually([&] { return m_keys->registerKey(digit2, control | option, 2, {}); }));
    EXPECT_EQ(m_keys->triggers().at(2), QStringLiteral("CTRL+ALT+2"));
    type(QStringLiteral("ctrl+shift+2"));
    type(QStringLiteral("ctrl+alt+2"));
    EXPECT_EQ(pressedUntil(2), (std::vector<std::uint32_t>{20, 2}));
}

TEST(X11HotKeysFactory, WithoutADisplayNoKeyCanBeHad)
{
    const auto keys = [] {
        const NoDisplay none;
        return createX11HotKeys();
    }();
    EXPECT_FALSE(keys->registerKey(space, control | option, 100, {}));
}

} // namespace
