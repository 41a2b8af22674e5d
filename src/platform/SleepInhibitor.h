#pragma once

#include <QObject>
#include <QString>
#include <functional>

// Keeps the machine from going to sleep while it sits idle; the display may still go dark. At most one
// inhibition is held at a time.
//
// Main thread only. Nothing blocks: `inhibit` answers later.
class SleepInhibitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Asks the system to hold an inhibition. `answer` runs exactly once, later, on the main thread, with
    // whether one is now held. A `release` before the answer cancels the request: it then answers false and
    // holds nothing.
    virtual void inhibit(std::function<void(bool held)> answer) = 0;
    // Gives back the inhibition held or asked for; does nothing without one.
    virtual void release() = 0;
    // What holds the inhibition, in a few words for the user ("logind"); empty while none is held.
    [[nodiscard]] virtual QString holder() const = 0;
};

// A system where nothing keeps sleep away: every request answers false.
class NullSleepInhibitor final : public SleepInhibitor {
    Q_OBJECT
public:
    using SleepInhibitor::SleepInhibitor;

    void inhibit(std::function<void(bool held)> answer) override;
    void release() override {}
    [[nodiscard]] QString holder() const override { return {}; }
};
