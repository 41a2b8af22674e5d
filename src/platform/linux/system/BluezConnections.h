#pragma once

#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QSet>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

// Which paired Bluetooth devices BlueZ reports connected, asked without waiting for the answer.
class BluezConnections final {
public:
    BluezConnections(LazyDBusConnection bus, std::chrono::milliseconds timeout);

    // Returns at once; `answer` gets the lower-case addresses on the main thread, or the empty set when
    // there is no bus, no BlueZ or no sensible reply within the timeout.
    void read(std::function<void(QSet<QString>)> answer);

private:
    LazyDBusConnection m_bus;
    std::chrono::milliseconds m_timeout;
    // The last failure logged, so that a lasting one is logged once rather than on every read.
    std::shared_ptr<QString> m_lastProblem = std::make_shared<QString>();
};
