#include "platform/linux/system/BluezBluetooth.h"

#include "support/FakeDBusService.h"
#include "support/PrivateBus.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Device = Bluetooth::Device;
using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

const QString kListObjects = QStringLiteral("org.freedesktop.DBus.ObjectManager.GetManagedObjects");
const QString kHeadphones = QStringLiteral("AA:00:00:00:00:01");
const QString kKeyboard = QStringLiteral("BB:00:00:00:00:02");
const QString kUnnamed = QStringLiteral("CC:00:00:00:00:03");
const QString kNeighbours = QStringLiteral("DD:00:00:00:00:04");

QString devicePath(const QString& address)
{
    return QStringLiteral("/org/bluez/hci0/dev_") + QString(address).replace(u':', u'_');
}

Interfaces device(const QString& address, QVariantMap properties)
{
    properties.insert(QStringLiteral("Address"), address);
    return {{QStringLiteral("org.freedesktop.DBus.Properties"), {}},
            {QStringLiteral("org.bluez.Device1"), properties}};
}

// What BlueZ lists on a laptop: its adapter, three paired devices, one seen but not paired and one whose
// pairing it does not say.
ManagedObjects laptop()
{
    const auto yes = QVariant(true);
    const auto no = QVariant(false);
    return {
        {QDBusObjectPath(QStringLiteral("/org/bluez/hci0")),
         {{QStringLiteral("org.bluez.Adapter1"),
           {{QStringLiteral("Address"), QStringLiteral("00:1A:7D:DA:71:13")}}}}},
        {QDBusObjectPath(devicePath(kKeyboard)),
         device(kKeyboard, {{QStringLiteral("Name"), QStringLiteral("K380")},
                            {QStringLiteral("Paired"), yes},
                            {QStringLiteral("Connected"), no}})},
        {QDBusObjectPath(devicePath(kHeadphones)),
         device(kHeadphones, {{QStringLiteral("Alias"), QStringLiteral("Headphones")},
                              {QStringLiteral("Name"), QStringLiteral("WH-1000XM4")},
                              {QStringLiteral("Paired"), yes},
                              {QStringLiteral("Connected"), yes}})},
        {QDBusObjectPath(devicePath(kUnnamed)), device(kUnnamed, {{QStringLiteral("Paired"), yes}})},
        {QDBusObjectPath(devicePath(kNeighbours)),
         device(kNeighbours, {{QStringLiteral("Alias"), QStringLiteral("TV")},
                              {QStringLiteral("Paired"), no},
                              {QStringLiteral("Connected"), yes}})},
        {QDBusObjectPath(QStringLiteral("/org/bluez/hci0/dev_EE")),
         device(QStringLiteral("EE:00:00:00:00:05"), {{QStringLiteral("Alias"), QStringLiteral("Mouse")}})},
    };
}

class BluezBluetoothTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_bus.isRunning())
            GTEST_SKIP() << "needs the dbus-daemon program";
        qDBusRegisterMetaType<Interfaces>();
        qDBusRegisterMetaType<ManagedObjects>();
        m_client = m_bus.connect();
        m_bluetooth = std::make_unique<BluezBluetooth>(m_client, 100ms);
    }

    FakeDBusService& startBluez()
    {
        m_bluez = std::make_unique<FakeDBusService>(m_bus.connect(), QStringLiteral("org.bluez"));
        m_bluez->answer(QStringLiteral("/"), kListObjects, {QVariant::fromValue(laptop())});
        return *m_bluez;
    }

    PrivateBus m_bus;
    QDBusConnection m_client{QStringLiteral("none")};
    std::unique_ptr<FakeDBusService> m_bluez;
    std::unique_ptr<BluezBluetooth> m_bluetooth;
};

TEST_F(BluezBluetoothTest, PairedDevicesAreNamedByAliasOrElseName)
{
    startBluez();

    EXPECT_EQ(m_bluetooth->pairedDevices(), (std::vector<Device>{{kHeadphones, QStringLiteral("Headphones")},
                                                                 {kKeyboard, QStringLiteral("K380")},
                                                                 {kUnnamed, QString()}}));
}

TEST_F(BluezBluetoothTest, OnlyPairedDevicesHaveAConnectionState)
{
    startBluez();
    const struct {
        QString address;
        std::optional<bool> expected;
    } cases[] = {
        {kHeadphones, true}, {kKeyboard, false}, {kNeighbours, std::nullopt}, {QString(), std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(m_bluetooth->isConnected(c.address), c.expected) << c.address.toStdString();
}

TEST_F(BluezBluetoothTest, ConnectingAndDisconnectingReachTheDeviceObject)
{
    FakeDBusService& bluez = startBluez();
    bluez.answer(devicePath(kHeadphones), QStringLiteral("org.bluez.Device1.Connect"));

    m_bluetooth->connect(kNeighbours);
    m_bluetooth->connect(kHeadphones);
    m_bluetooth->disconnect(kKeyboard);

    // Disconnecting the keyboard is not scripted: its error reply is only logged.
    ASSERT_TRUE(bluez.waitForCalls(QStringLiteral("org.bluez.Device1.Disconnect"), 1));
    const std::vector<FakeDBusService::Call> connects =
        bluez.callsTo(QStringLiteral("org.bluez.Device1.Connect"));
    ASSERT_EQ(connects.size(), 1u);
    EXPECT_EQ(connects[0].path, devicePath(kHeadphones));
    EXPECT_EQ(bluez.callsTo(QStringLiteral("org.bluez.Device1.Disconnect"))[0].path, devicePath(kKeyboard));
    bluez.settle(m_client);
}

TEST_F(BluezBluetoothTest, WithoutBlueZOrABusEverythingIsEmptyAtOnce)
{
    const struct {
        const char* name;
        QDBusConnection bus;
    } cases[] = {{"no BlueZ", m_bus.connect()},
                 {"no bus", QDBusConnection(QStringLiteral("never connected"))}};
    for (const auto& c : cases) {
        BluezBluetooth bluetooth(c.bus, 10s);

        EXPECT_TRUE(bluetooth.pairedDevices().empty()) << c.name;
        EXPECT_EQ(bluetooth.isConnected(kHeadphones), std::nullopt) << c.name;
        bluetooth.connect(kHeadphones);
    }
}

TEST_F(BluezBluetoothTest, ABlueZThatNeverAnswersIsGivenUpOnAtTheTimeout)
{
    startBluez().neverAnswer(QStringLiteral("/"), kListObjects);

    EXPECT_TRUE(m_bluetooth->pairedDevices().empty());
}

} // namespace
