#include "actions/AudioOutput.h"
#include "actions/BluetoothConnect.h"
#include "core/BackgroundQueue.h"
#include "platform/Programs.h"
#include "platform/ShortcutsBridge.h"
#include "support/FakeDevices.h"
#include "support/FakeProcessRunner.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(AudioOutputTest, ListsOutputsByNameUnderTheirIdentifierWhenNameless)
{
    FakeAudioSystem system;
    system.deviceList = {
        {1, QStringLiteral("mic"), QStringLiteral("Microphone"), false},
        {2, QStringLiteral("hdmi"), QStringLiteral("speakers"), true},
        {3, QStringLiteral("anon"), QString(), true},
        {4, QStringLiteral("usb"), QStringLiteral("Speakers"), true},
        {5, QString(), QStringLiteral("No id"), true},
    };
    system.defaultOutput = 4;
    const AudioOutput audio(system);
    // Equal names in different case keep the server's order.
    EXPECT_EQ(audio.outputDevices(),
              (std::vector<AudioOutput::Device>{{QStringLiteral("anon"), QStringLiteral("anon")},
                                                {QStringLiteral("hdmi"), QStringLiteral("speakers")},
                                                {QStringLiteral("usb"), QStringLiteral("Speakers")}}));
    EXPECT_EQ(audio.currentDefaultUID(), QStringLiteral("usb"));
    EXPECT_EQ(audio.deviceID(QStringLiteral("hdmi")), 2u);
    EXPECT_EQ(audio.deviceID(QStringLiteral("HDMI")), std::nullopt);

    system.defaultOutput = 42;
    EXPECT_EQ(audio.currentDefaultUID(), std::nullopt);
    system.defaultOutput.reset();
    EXPECT_EQ(audio.currentDefaultUID(), std::nullopt);
}

TEST(AudioOutputTest, TheDeviceNumberedZeroIsAnOutputLikeAnyOther)
{
    FakeAudioSystem system;
    system.deviceList = {{0, QStringLiteral("speakers"), QStringLiteral("Speakers"), true},
                         {1, QStringLiteral("hdmi"), QStringLiteral("HDMI"), true}};
    system.defaultOutput = 0;
    AudioOutput audio(system);
    EXPECT_EQ(audio.currentDefaultUID(), QStringLiteral("speakers"));
    const std::optional<quint32> id = audio.deviceID(QStringLiteral("speakers"));
    ASSERT_EQ(id, 0u);
    audio.makeDefaultOutput(*id);
    EXPECT_EQ(system.log.entries(), QStringList{QStringLiteral("default 0")});
}

TEST(BluetoothConnectorTest, ListsPairedDevicesAndEachPressReadsTheCurrentState)
{
    FakeBluetooth stack;
    stack.paired = {{QStringLiteral("B2"), QStringLiteral("buds")},
                    {QString(), QStringLiteral("No address")},
                    {QStringLiteral("A1"), QString()},
                    {QStringLiteral("C3"), QStringLiteral("Buds")}};
    stack.connected = {{QStringLiteral("B2"), false}};
    BluetoothConnector connector(stack);
    EXPECT_EQ(connector.pairedDevices(),
              (std::vector<Bluetooth::Device>{{QStringLiteral("A1"), QStringLiteral("A1")},
                                              {QStringLiteral("B2"), QStringLiteral("buds")},
                                              {QStringLiteral("C3"), QStringLiteral("Buds")}}));

    connector.toggle(QStringLiteral("B2"));
    BackgroundQueue::waitForDone();
    connector.toggle(QStringLiteral("B2"));
    BackgroundQueue::waitForDone();
    connector.toggle(QStringLiteral("unknown"));
    BackgroundQueue::waitForDone();
    EXPECT_EQ(stack.log.entries(),
              (QStringList{QStringLiteral("connect B2"), QStringLiteral("disconnect B2")}));
}

TEST(ShortcutsBridgeTest, NamesAreTrimmedAndBlankLinesDropped)
{
    EXPECT_EQ(
        ShortcutsBridge::parseShortcutList(QStringLiteral("Morning\n\n  Focus On\t\n \t \nLights Off  ")),
        (QStringList{QStringLiteral("Morning"), QStringLiteral("Focus On"), QStringLiteral("Lights Off")}));
}

TEST(ShortcutsBridgeTest, FetchAnswersOnTheMainThreadAndEmptyWithoutTheProgram)
{
    FakeProcessRunner processes;
    processes.answer(Programs::shortcuts() + QStringLiteral(" list"), QStringLiteral("A\nB\n"));
    QObject context;
    std::optional<QStringList> names;
    ShortcutsBridge::fetchShortcuts(processes, &context, [&](QStringList answer) { names = answer; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return names.has_value(); }, 5000));
    EXPECT_EQ(names, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

    FakeProcessRunner missing;
    names.reset();
    ShortcutsBridge::fetchShortcuts(missing, &context, [&](QStringList answer) { names = answer; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return names.has_value(); }, 5000));
    EXPECT_EQ(names, QStringList());
}

} // namespace
