#include "band/VitalsSlowEngine.h"

#include "core/BackgroundQueue.h"
#include "core/PendingCalls.h"
#include "platform/linux/desktop/XdgTrash.h"
#include "platform/linux/system/LinuxSystemStatus.h"
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

    static void sampleAndSettle(VitalsSlowEngine& engine)
    {
        engine.sample();
        BackgroundQueue::waitForDone();
        PendingCalls::waitForAll(5s);
        QCoreApplication::sendPostedEvents();
    }

    void startNetworkManager(const QByteArray& ssid, uchar strength)
    {
        // A name once taken on the bus stays with its connection: each service starts once and is
        // scripted again.
        if (!m_nm)
            m_nm = std::make_unique<FakeDBusService>(m_bus.connect(),
                                                     QStringLiteral("org.freedesktop.NetworkManager"));
        const QList<QDBusObjectPath> active{QDBusObjectPath(kWired), QDBusObjectPath(kWireless)};
        m_nm->answer(kNetworkManager, QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                     {QVariant::fromValue(QDBusVariant(QVariant::fromValue(active)))});
        const auto connection = [](const char* type, const QString& object) {
            return QVariantMap{
                {QStringLiteral("Type"), QString::fromLatin1(type)},
                {QStringLiteral("State"), 2u},
                {QStringLiteral("SpecificObject"), QVariant::fromValue(QDBusObjectPath(object))}};
        };
        m_nm->answer(kWired, kGetAll, {connection("802-3-ethernet", QStringLiteral("/"))});
        m_nm->answer(kWireless, kGetAll, {connection("802-11-wireless", kAccessPoint)});
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

TEST_F(VitalsSlowEngineTest, BatteryComesFromTheDisplayDevice)
{
    const QString present = QStringLiteral("IsPresent");
    const QString percentage = QStringLiteral("Percentage");
    const QString state = QStringLiteral("State");
    const struct {
        std::optional<QVariantMap> display; // nothing: no UPower on the bus
        std::optional<int> percent;
        bool charging;
    } cases[] = {
        {std::nullopt, std::nullopt, false},
        {QVariantMap{{present, true}, {percentage, 42.6}, {state, 1u}}, 43, true},
        {QVariantMap{{present, true}, {percentage, 80.0}, {state, 2u}}, 80, false},
        {QVariantMap{{present, false}, {percentage, 0.0}}, std::nullopt, false},
        {QVariantMap{{present, true}}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        if (c.display) {
            if (!m_upower)
                m_upower = std::make_unique<FakeDBusService>(m_bus.connect(),
                                                             QStringLiteral("org.freedesktop.UPower"));
            m_upower->answer(kDisplayDevice, kGetAll, {*c.display});
        }
        sampleAndSettle(*m_engine);
        EXPECT_EQ(m_engine->batteryPercent(), c.percent) << c.percent.value_or(-1);
        EXPECT_EQ(m_engine->batteryCharging(), c.charging);
    }
}

TEST_F(VitalsSlowEngineTest, WifiIsConnectedWithSignalOrWithANetworkName)
{
    const struct {
        QByteArray ssid;
        uchar strength;
        std::optional<QString> expectedSsid;
        bool connected;
    } cases[] = {
        {"Home", 70, QStringLiteral("Home"), true},
        {"Caf\xc3\xa9\x07\xe2\x80\xae", 0, QStringLiteral("Café\uFFFD\uFFFD"), true},
        {"", 55, std::nullopt, true},
        {"", 0, std::nullopt, false},
    };
    sampleAndSettle(*m_engine);
    EXPECT_FALSE(m_engine->wifiConnected());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ssid.toStdString() + ' ' + std::to_string(c.strength));
        startNetworkManager(c.ssid, c.strength);
        sampleAndSettle(*m_engine);
        EXPECT_EQ(m_engine->wifiSSID(), c.expectedSsid);
        EXPECT_EQ(m_engine->wifiConnected(), c.connected);
    }
}

TEST(NetworkManagerWifiTest, SsidsLongerThanTheStandardAllowsAreCut)
{
    EXPECT_EQ(NetworkManagerWifi::ssidText(QByteArray(40, 'x')), QString(32, u'x'));
}

TEST_F(VitalsSlowEngineTest, TrashIsCountedOnlyWhileAsked)
{
    for (const char* name : {"a.txt", "b", ".hidden", "c/d"})
        writeFile(m_paths.dataHome + QStringLiteral("/Trash/files/") + QString::fromLatin1(name), "x");
    m_engine->setCountsTrash(true);
    sampleAndSettle(*m_engine);
    EXPECT_EQ(m_engine->trashCount(), 3);
    EXPECT_GT(m_engine->driveFree(), 0);

    m_engine->setCountsTrash(false);
    sampleAndSettle(*m_engine);
    EXPECT_EQ(m_engine->trashCount(), 0);
}

TEST_F(VitalsSlowEngineTest, AFolderWithoutAFileSystemHasNoFreeSpace)
{
    VitalsSlowEngine engine(*m_status, m_trash, m_paths.home + QStringLiteral("/gone"));
    sampleAndSettle(engine);
    EXPECT_EQ(engine.driveFree(), 0);
    EXPECT_EQ(m_status->freeBytes(m_paths.home + QStringLiteral("/gone")), std::nullopt);
}

} // namespace
