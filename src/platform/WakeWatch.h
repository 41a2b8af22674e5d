#pragma once

#include <QObject>

// Tells when the machine wakes from sleep. It reaches the system only once `start` is called.
//
// Main thread only; `woke` fires on the main thread after each wake.
class WakeWatch : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void start() = 0;

Q_SIGNALS:
    void woke();
};

// Where the system cannot say: no wake is ever reported.
class NullWakeWatch final : public WakeWatch {
    Q_OBJECT

public:
    using WakeWatch::WakeWatch;

    void start() override {}
};
