#pragma once

#include "platform/WakeWatch.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

// Wakes as logind announces them: its `PrepareForSleep` signal with false.
class LogindWakeWatch final : public WakeWatch {
    Q_OBJECT

public:
    explicit LogindWakeWatch(LazyDBusConnection system, QObject* parent = nullptr);

    void start() override;

private Q_SLOTS:
    void prepareForSleep(bool sleeping);

private:
    LazyDBusConnection m_system;
    bool m_started = false;
};
