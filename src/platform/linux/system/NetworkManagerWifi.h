#pragma once

#include "platform/SystemStatus.h"
#include "platform/linux/dbus/LazyDBusConnection.h"
#include "platform/linux/system/ProblemLog.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <chrono>
#include <memory>

// The Wi-Fi network NetworkManager is connected to: the access point of its first activated wireless
// connection.
class NetworkManagerWifi final {
public:
    NetworkManagerWifi(LazyDBusConnection bus, std::chrono::milliseconds timeout);

    // Returns at once; `answer` gets the network on the main thread, or "not connected" when there is no
    // bus, no NetworkManager, no wireless connection or no sensible reply within the timeout.
    void read(std::function<void(SystemStatus::Wifi)> answer);

    // An SSID is up to 32 arbitrary bytes: the text to draw for one, with bytes that are not UTF-8 and
    // control characters shown as U+FFFD. Nothing for a hidden network's empty SSID.
    [[nodiscard]] static std::optional<QString> ssidText(const QByteArray& ssid);

private:
    using Answer = std::function<void(SystemStatus::Wifi)>;

    static void readConnections(const QDBusConnection& bus, std::chrono::milliseconds timeout,
                                std::shared_ptr<ProblemLog> problems, Answer answer);
    static void tryConnection(const QDBusConnection& bus, std::chrono::milliseconds timeout,
                              QList<QDBusObjectPath> connections, std::shared_ptr<ProblemLog> problems,
                              Answer answer);
    static void readAccessPoint(const QDBusConnection& bus, std::chrono::milliseconds timeout,
                                const QDBusObjectPath& accessPoint, Answer answer);

    LazyDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
    // A lasting failure is logged once rather than every 15 seconds.
    std::shared_ptr<ProblemLog> m_problems =
        std::make_shared<ProblemLog>(QStringLiteral("can't read the Wi-Fi state"));
};
