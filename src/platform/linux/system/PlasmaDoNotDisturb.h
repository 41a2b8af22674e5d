#pragma once

#include "platform/DoNotDisturb.h"
#include "platform/linux/dbus/LazyDBusConnection.h"

#include <QDBusMessage>
#include <chrono>
#include <functional>
#include <optional>

// KDE Plasma's Do Not Disturb: the notification server's `Inhibited` property, switched on with `Inhibit`
// and off with `UnInhibit` of the inhibition we hold. An inhibition another application holds is that
// application's to lift: switching it off says so in the log and does nothing. Switching off while our
// request is still unanswered gives the inhibition back as soon as it is granted. Always ready.
class PlasmaDoNotDisturb final : public DoNotDisturb {
    Q_OBJECT
public:
    // `session` is the bus the notification server is on; calls give up after `timeout`.
    PlasmaDoNotDisturb(LazyDBusConnection session, std::chrono::milliseconds timeout,
                       QObject* parent = nullptr);

    void read(QObject* context, std::function<void(Reading)> done) override;
    bool turn(bool on) override;
    void openAccessSettings() override {}

private:
    void giveBack(uint cookie);
    void send(const QDBusMessage& call, std::function<void(uint cookie)> granted = {});

    LazyDBusConnection m_session;
    std::chrono::milliseconds m_timeout;
    // The inhibition we hold, as the server numbered it; 0 while it has not answered yet.
    std::optional<uint> m_cookie;
    // Counts our requests for an inhibition: an answer to any but the latest is given back at once.
    quint64 m_request = 0;
};
