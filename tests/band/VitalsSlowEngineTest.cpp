#include "band/VitalsSlowEngine.h"

#include "core/BackgroundQueue.h"
#include "core/PendingCalls.h"
#include "platform/linux/LinuxSystemStatus.h"
#include "platform/linux/XdgTrash.h"
#include "support/FakeDBusService.h"
#include "support/FakeProcessRunner.h"
#include "support/PrivateBus.h"
#include "support/TempHome.h"

#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

using namespace std::chrono_literals;

const QString kGetAll = QStringLiteral("org.freedesktop.DBus.Properties.GetAll");
const QString kDisplayDevice = QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice");
const QString kNetworkManager = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kWired = QStringLiteral("/org/freedesktop/NetworkManager/ActiveConnection/1");
const QString kWireless = QStringLiteral("/org/freedesktop/NetworkManager/ActiveConnection/2");
const QString kAccessPoint = QStringLiteral("/org/freedesktop/NetworkManager/AccessPoint/7");

class VitalsSlowEngineTest : public TempHome {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
        m_client = m_bus.connect();
        m_status = std::make_unique<LinuxSystemStatus>(m_client, 2s);
        m_engine = std::make_unique<VitalsSlowEngine>(*m_status, m_trash, m_paths.home);
    }

    void sampleAndSettle()
    {
        m_engine->sample();
        BackgroundQueue::waitForDone();
        PendingCalls::waitForAll(5s);
        QCoreApplication::sendPostedEvents();
    }

    void startUPower(const QVariantMap& display)
    {
        m_upower =
            std::make_unique<FakeDBusService>(m_bus.connect(), QStringLiteral("org.freedesktop.UPower"));
        m_upower->answer(kDisplayDevice, kGetAll, {display});
    }

    void startNetworkManager(const QByteArray& ssid, uchar strength)
    {
        // A name once taken on the bus stays with its connection: the service starts once and is scripted
        // again.
        if (!m_nm)
            m_nm = std::make_unique<FakeDBusService>(m_bus.connect(),
                                                     QStringLiteral("org.freedesktop.NetworkManager"));
        const QList<QDBusObjectPath> active{QDBusObjectPath(kWired), QDBusObjectPath(kWireless)};
        m_nm->answer(kNetworkManager, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                     {QVariant::fromValue(QDBusVariant(QVariant::fromValue(active)))});
        m_nm->answer(
            kWired, kGetAll,
            {QVariantMap{{QStringLiteral("Type"), QStringLiteral("802-3-ethernet")},
                         {QStringLiteral("State"), 2u},
                         {QStringLiteral("SpecificObject"), QVariant::fromValue(QDBusObjectPath("/"))}}});
        m_nm->answer(kWireless, kGetAll,
                     {QVariantMap{{QStringLiteral("Type"), QStringLiteral("802-11-wireless")},
                                  {QStringLiteral("State"), 2u},
                                  {QStringLiteral("SpecificObject"),
                                   QVariant::fromValue(QDBusObjectPath(kAccessPoint))}}});
        m_nm->answer(kAccessPoint, kGetAll,
                     {QVariantMap{{QStringLiteral("Ssid"), ssid},
                                  {QStringLiteral("Strength"), QVariant::fromValue(strength)}}});
    }

    PrivateBus m_bus;
    QDBusConnection m_client{QStringLiteral("none")};
    FakeProcessRunner m_runner;
    XdgTrash m_trash{m_runner, QString(), m_paths.dataHome, QStringLiteral("/nonexistent")};
    std::unique_ptr<FakeDBusService> m_upower;
    std::unique_ptr<FakeDBusService> m_nm;
    std::unique_ptr<LinuxSystemStatus> m_status;
    std::unique_ptr<VitalsSlowEngine> m_engine;
};

struct BatteryCase {
    const char* name;
    std::optional<QVariantMap> display; // nothing: no UPower on the bus
    std::optional<int> percent;
    bool charging;
};

class VitalsSlowEngineBatteryTest : public VitalsSlowEngineTest,
                                    public ::testing::WithParamInterface<BatteryCase> {};

TEST_P(VitalsSlowEngineBatteryTest, BatteryComesFromTheDisplayDevice)
{
    const BatteryCase& c = GetParam();
    if (c.display)
        startUPower(*c.display);
    sampleAndSettle();
    EXPECT_EQ(m_engine->batteryPercent(), c.percent);
    EXPECT_EQ(m_engine->batteryCharging(), c.charging);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, VitalsSlowEngineBatteryTest,
    ::testing::Values(
        BatteryCase{"charging",
                    QVariantMap{{QStringLiteral("IsPresent"), true},
                                {QStringLiteral("Percentage"), 42.6},
                                {QStringLiteral("State"), 1u}},
                    43, true},
        BatteryCase{"discharging",
                    QVariantMap{{QStringLiteral("IsPresent"), true},
                                {QStringLiteral("Percentage"), 80.0},
                                {QStringLiteral("State"), 2u}},
                    80, false},
        BatteryCase{"desktop",
                    QVariantMap{{QStringLiteral("IsPresent"), false}, {QStringLiteral("Percentage"), 0.0}},
                    std::nullopt, false},
        BatteryCase{"noPercentage", QVariantMap{{QStringLiteral("IsPresent"), true}}, std::nullopt, false},
        BatteryCase{"noUPower", std::nullopt, std::nullopt, false}),
    [](const ::testing::TestParamInfo<BatteryCase>& info) { return std::string(info.param.name); });

TEST_F(VitalsSlowEngineTest, WifiIsConnectedWithSignalOrWithANetworkName)
{
    const struct {
        QByteArray ssid;
        uchar strength;
        std::optional<QString> expectedSsid;
        bool connected;
    } cases[] = {
        {"Home", 70, QStringLiteral("Home"), true},
        {"Home", 0, QStringLiteral("Home"), true},
        {"", 55, std::nullopt, true},
        {"", 0, std::nullopt, false},
    };
    sampleAndSettle();
    EXPECT_FALSE(m_engine->wifiConnected());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ssid.toStdString() + ' ' + std::to_string(c.strength));
        startNetworkManager(c.ssid, c.strength);
        sampleAndSettle();
        EXPECT_EQ(m_engine->wifiSSID(), c.expectedSsid);
        EXPECT_EQ(m_engine->wifiConnected(), c.connected);
    }
}

TEST_F(VitalsSlowEngineTest, ArbitrarySsidBytesAreDrawnSafely)
{
    QByteArray ssid;
    for (int i = 0; i < 32; ++i)
        ssid += static_cast<char>((i * 37 + 0x80) % 256);
    ssid[3] = '\x1b';
    startNetworkManager(ssid, 40);
    sampleAndSettle();
    ASSERT_TRUE(m_engine->wifiSSID());
    for (const QChar character : *m_engine->wifiSSID())
        EXPECT_NE(character.category(), QChar::Other_Control) << int(character.unicode());
    EXPECT_EQ(NetworkManagerWifi::ssidText("Caf\xc3\xa9\x07\xe2\x80\xae"),
              QStringLiteral("Café\uFFFD\uFFFD"));
    EXPECT_EQ(NetworkManagerWifi::ssidText(QByteArray(40, 'x')), QString(32, u'x'));
}

TEST_F(VitalsSlowEngineTest, TrashIsCountedOnlyWhileAsked)
{
    for (const char* name : {"a.txt", "b", ".hidden", "c/d"})
        writeFile(m_paths.dataHome + QStringLiteral("/Trash/files/") + QString::fromLatin1(name), "x");
    m_engine->setCountsTrash(true);
    sampleAndSettle();
    EXPECT_EQ(m_engine->trashCount(), 3);
    EXPECT_GT(m_engine->driveFree(), 0);

    m_engine->setCountsTrash(false);
    sampleAndSettle();
    EXPECT_EQ(m_engine->trashCount(), 0);
}

TEST_F(VitalsSlowEngineTest, AFolderWithoutAFileSystemHasNoFreeSpace)
{
    VitalsSlowEngine engine(*m_status, m_trash, m_paths.home + QStringLiteral("/gone"));
    engine.sample();
    BackgroundQueue::waitForDone();
    PendingCalls::waitForAll(5s);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(engine.driveFree(), 0);
    EXPECT_EQ(m_status->freeBytes(m_paths.home + QStringLiteral("/gone")), std::nullopt);
}

} // namespace
