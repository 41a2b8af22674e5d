#pragma once

#include "platform/SleepInhibitor.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QDBusMessage>
#include <chrono>
#include <functional>
#include <vector>

// Keeps idle sleep away by asking, in turn, until one holds: the desktop portal's Inhibit (idle and
// suspend), GNOME's session manager (the same two, which GNOME's power plugin honours where it ignores
// logind), a logind "block" inhibitor on "idle:sleep" (held as long as its file descriptor stays open), and
// the session's screen saver service (org.freedesktop.ScreenSaver). Each hands back what it takes to give
// the inhibition back: the portal a request object to close, the session manager and the screen saver a
// cookie, logind the descriptor.
class DesktopSleepInhibitor final : public SleepInhibitor {
    Q_OBJECT
public:
    // `system` is the bus logind is on, `session` the one the others are on; each is reached only when
    // asked for. A service that has not answered within `timeout` counts as absent.
    DesktopSleepInhibitor(LazyDBusConnection system, LazyDBusConnection session,
                          std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~DesktopSleepInhibitor() override;

    void inhibit(std::function<void(bool held)> answer) override;
    void release() override;
    [[nodiscard]] QString holder() const override { return m_holder; }

private:
    using Answer = std::function<void(bool held)>;
    using GiveBack = std::function<void()>;

    struct Way {
        QString holder;
        LazyDBusConnection bus;
        QDBusMessage call;
        // What gives back the inhibition the reply grants; empty when it grants none.
        std::function<GiveBack(const QDBusMessage& reply)> take;
    };

    [[nodiscard]] std::vector<Way> ways() const;
    void ask(std::size_t way, quint64 request, Answer answer);
    void answered(std::size_t way, quint64 request, const Answer& answer, const QDBusMessage& reply);

    LazyDBusConnection m_system;
    LazyDBusConnection m_session;
    std::chrono::milliseconds m_timeout;
    std::vector<Way> m_ways;
    // Tells the answer to the latest request from those overtaken by a release.
    quint64 m_request = 0;
    QString m_holder;
    GiveBack m_giveBack;
};
