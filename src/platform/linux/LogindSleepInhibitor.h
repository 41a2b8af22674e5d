#pragma once

#include "platform/SleepInhibitor.h"
#include "platform/linux/LazyDBusConnection.h"

#include <QDBusMessage>
#include <chrono>
#include <optional>

// Keeps idle sleep away with a logind "block" inhibitor on "idle:sleep", held as long as its file descriptor
// stays open. Where logind has none to give, the session's screen saver service is asked instead
// (org.freedesktop.ScreenSaver), which hands out a cookie to give back.
class LogindSleepInhibitor final : public SleepInhibitor {
    Q_OBJECT
public:
    // `system` is the bus logind is on, `session` the one the screen saver is on; each is reached only when
    // asked for. A service that has not answered within `timeout` counts as absent.
    LogindSleepInhibitor(LazyDBusConnection system, LazyDBusConnection session,
                         std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~LogindSleepInhibitor() override;

    void inhibit(std::function<void(bool held)> answer) override;
    void release() override;

private:
    using Answer = std::function<void(bool held)>;

    void askScreenSaver(quint64 request, Answer answer);
    void ask(const LazyDBusConnection& bus, QDBusMessage call,
             std::function<void(LogindSleepInhibitor&, const QDBusMessage&)> handle);
    [[nodiscard]] bool isCurrent(quint64 request) const { return request == m_request; }

    LazyDBusConnection m_system;
    LazyDBusConnection m_session;
    std::chrono::milliseconds m_timeout;
    quint64 m_request = 0;
    int m_descriptor = -1;
    std::optional<uint> m_cookie;
};
