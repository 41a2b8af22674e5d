#pragma once

#include "platform/SystemStatus.h"
#include "platform/linux/dbus/LazyDBusConnection.h"
#include "platform/linux/system/ProblemLog.h"

#include <QDBusMessage>
#include <chrono>
#include <memory>

// The battery as UPower's display device shows it: the one figure a desktop's panel shows for all batteries.
class UPowerBattery final {
public:
    UPowerBattery(LazyDBusConnection bus, std::chrono::milliseconds timeout);

    // Returns at once; `answer` gets the battery on the main thread, or no battery when there is no bus, no
    // UPower, no battery or no sensible reply within the timeout.
    void read(std::function<void(SystemStatus::Battery)> answer);

    // The battery a reply to the display device's GetAll describes.
    [[nodiscard]] static SystemStatus::Battery fromReply(const QDBusMessage& reply);

private:
    LazyDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
    // A lasting failure is logged once rather than every 15 seconds.
    std::shared_ptr<ProblemLog> m_problems =
        std::make_shared<ProblemLog>(QStringLiteral("can't read the battery"));
};
