#pragma once

#include "platform/SystemControls.h"
#include "platform/TileStateSources.h"

#include <QObject>
#include <QTimer>
#include <chrono>

// The band's dark mode switch: whether the desktop prefers dark, read on `refresh()` and again whenever the
// desktop reports a change. A click asks the desktop to switch, shows the new state at once and reads the
// desktop again `recheckDelay` later, which puts the switch back when the desktop did not follow.
//
// Main thread only. `darkChanged` fires when `isDark` changes. `recheck()` is the timer's handler.
class DarkModeEngine final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool dark READ isDark NOTIFY darkChanged)

public:
    static constexpr std::chrono::milliseconds recheckDelay{600};

    // The same sources and controls the dark-mode tile reads and switches with; both outlive the engine.
    DarkModeEngine(TileStateSources& sources, SystemControls& controls, QObject* parent = nullptr);

    [[nodiscard]] bool isDark() const { return m_dark; }

    void refresh();
    void toggle();
    void recheck();

Q_SIGNALS:
    void darkChanged(bool dark);

private:
    void publish(bool dark);

    TileStateSources& m_sources;
    SystemControls& m_controls;
    QTimer m_recheck;
    bool m_dark = false;
    // Only the latest read counts: one asked before a toggle would undo its flip.
    quint64 m_latestRead = 0;
};
