#pragma once

#include "platform/DoNotDisturb.h"

#include <QObject>
#include <QTimer>
#include <chrono>

// The band's Do Not Disturb switch: whether it is on, read at `start()` and then on every change the desktop
// announces, or every `pollInterval` where it announces none; and whether a click can switch it
// (`shortcutReady`), checked at `start()` and on `refreshShortcuts()` only. A click while ready switches,
// shows the new state at once and reads again `firstRecheck` and `secondRecheck` later, which puts the switch
// back when the system did not follow; a click while not ready asks for the setup window instead.
//
// Main thread only. The `…Changed` signals fire when their values change; `setupRequested` on a click that
// cannot switch yet. `poll()` is the handler of every timer.
class FocusEngine final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool focusActive READ focusActive NOTIFY focusActiveChanged)
    Q_PROPERTY(bool needsAccess READ needsAccess NOTIFY needsAccessChanged)
    Q_PROPERTY(bool shortcutReady READ shortcutReady NOTIFY shortcutReadyChanged)

public:
    static constexpr std::chrono::seconds pollInterval{5};
    static constexpr std::chrono::milliseconds firstRecheck{1500};
    static constexpr std::chrono::milliseconds secondRecheck{4000};

    // `system` outlives the engine.
    explicit FocusEngine(DoNotDisturb& system, QObject* parent = nullptr);

    [[nodiscard]] bool focusActive() const { return m_focusActive; }
    [[nodiscard]] bool needsAccess() const { return m_needsAccess; }
    [[nodiscard]] bool shortcutReady() const { return m_shortcutReady; }
    [[nodiscard]] bool isRunning() const { return m_running; }
    // Whether it reads on a timer, the desktop announcing no changes.
    [[nodiscard]] bool isPolling() const { return m_timer.isActive(); }

    // Does nothing while running.
    void start();
    // Stops reading; the values and any rechecks after a click stay.
    void stop();
    void poll();
    void refreshShortcuts();
    void toggleDND();
    void openFullDiskAccessSettings();

Q_SIGNALS:
    void focusActiveChanged(bool active);
    void needsAccessChanged(bool needsAccess);
    void shortcutReadyChanged(bool ready);
    void setupRequested();

private:
    void apply(DoNotDisturb::Reading reading);
    void publishActive(bool active);

    DoNotDisturb& m_system;
    QTimer m_timer;
    QTimer m_firstRecheck;
    QTimer m_secondRecheck;
    bool m_running = false;
    bool m_focusActive = false;
    bool m_needsAccess = false;
    bool m_shortcutReady = false;
    // Only reads begun after the latest click count: an earlier one would undo its flip.
    quint64 m_latestRead = 0;
};
