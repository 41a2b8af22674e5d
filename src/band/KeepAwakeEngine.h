#pragma once

#include "platform/SleepInhibitor.h"

#include <QObject>

// The band's keep-awake switch: on while the machine is held from idle sleep. A click asks for the
// inhibition and the switch turns on once it is held (it stays off when the system refuses); a second
// click, or `release`, gives it back at once.
//
// Main thread only. `onChanged` fires when `isOn` changes.
class KeepAwakeEngine final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool on READ isOn NOTIFY onChanged)

public:
    // `inhibitor` outlives the engine.
    explicit KeepAwakeEngine(SleepInhibitor& inhibitor, QObject* parent = nullptr);
    ~KeepAwakeEngine() override;

    [[nodiscard]] bool isOn() const { return m_on; }
    // What keeps the machine awake while on; empty while off.
    [[nodiscard]] QString heldBy() const { return m_on ? m_inhibitor.holder() : QString(); }

    // Off, and not asking: asks for the inhibition. Otherwise releases it.
    void toggle();
    // Gives the inhibition back, or the request for one: for when the band goes away or the module leaves it.
    void release();

Q_SIGNALS:
    void onChanged(bool on);

private:
    void publish(bool on);

    SleepInhibitor& m_inhibitor;
    bool m_on = false;
    bool m_asking = false;
    // Tells the answer to the latest request from those overtaken by a release.
    quint64 m_request = 0;
};
