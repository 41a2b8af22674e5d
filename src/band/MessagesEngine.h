#pragma once

#include "core/Poller.h"
#include "platform/UnreadMessages.h"

#include <QObject>
#include <chrono>

// The band's unread-messages module: the count the platform keeps, read at `start()` and every
// `pollInterval` after, and whenever the platform says it changed while the engine runs. A reading that
// fails keeps the last count; one that lacks permission raises `needsAccess` until a reading succeeds.
//
// Main thread only. `unreadChanged` and `needsAccessChanged` fire when the values change; `poll()` is the
// timer's handler.
class MessagesEngine final : public QObject {
    Q_OBJECT
    Q_PROPERTY(int unread READ unread NOTIFY unreadChanged)
    Q_PROPERTY(bool needsAccess READ needsAccess NOTIFY needsAccessChanged)

public:
    static constexpr std::chrono::seconds pollInterval{30};

    // `source` outlives the engine.
    explicit MessagesEngine(UnreadMessages& source, QObject* parent = nullptr);

    [[nodiscard]] int unread() const { return m_unread; }
    [[nodiscard]] bool needsAccess() const { return m_needsAccess; }
    [[nodiscard]] bool isRunning() const { return m_poller.isRunning(); }

    // Does nothing while running.
    void start();
    // Stops the timer; the values stay.
    void stop();
    void poll();
    void openMessages();
    void openFullDiskAccessSettings();

Q_SIGNALS:
    void unreadChanged(int unread);
    void needsAccessChanged(bool needsAccess);

private:
    void apply(UnreadMessages::Reading reading);

    UnreadMessages& m_source;
    Poller m_poller{pollInterval, [this] { poll(); }};
    int m_unread = 0;
    bool m_needsAccess = false;
};
