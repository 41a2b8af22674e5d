#pragma once

#include "platform/DoNotDisturb.h"
#include "platform/linux/LazyDBusConnection.h"

#include <chrono>
#include <optional>

// KDE Plasma's Do Not Disturb: the notification server's `Inhibited` property, switched on with `Inhibit`
// and off with `UnInhibit` of the inhibition we hold. An inhibition another application holds is that
// application's to lift: switching it off says so in the log and does nothing. Always ready.
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
    LazyDBusConnection m_session;
    std::chrono::milliseconds m_timeout;
    // The inhibition we hold, as the server numbered it; 0 while it has not answered yet.
    std::optional<uint> m_cookie;
};
