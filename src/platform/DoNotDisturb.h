#pragma once

#include <QObject>
#include <functional>
#include <optional>

// The system's Do Not Disturb: whether it is on, and switching it.
//
// Main thread only; answers come on the main thread, and not at all once their `context` is gone.
class DoNotDisturb : public QObject {
    Q_OBJECT
public:
    struct Reading {
        // Nothing when the state could not be told this time.
        std::optional<bool> active;
        // The state is kept in a place the user has not allowed us to read.
        bool needsAccess = false;
        bool operator==(const Reading&) const = default;
    };

    using QObject::QObject;

    // Returns at once.
    virtual void read(QObject* context, std::function<void(Reading)> done) = 0;
    // Whether `turn` can switch now, for instance that what it runs is installed. Returns at once. Ready,
    // unless an implementation needs something installed first.
    virtual void checkReady(QObject* context, std::function<void(bool)> done);
    // Starts switching Do Not Disturb on or off and returns at once; false, with one log line, when this
    // desktop has nothing to switch it with.
    virtual bool turn(bool on) = 0;
    // Opens the place where the permission that `needsAccess` asks for is given.
    virtual void openAccessSettings() = 0;

    // Starts telling of changes with `changed`, where the desktop announces them; false where it does not,
    // and the state has to be read again from time to time instead. Calling it again does nothing.
    virtual bool follow() { return false; }
    virtual void stopFollowing() {}

Q_SIGNALS:
    // Do Not Disturb may have been switched since it was last read.
    void changed();
};

// A desktop whose Do Not Disturb we do not know: always off, and a click only says so in the log.
class NoDoNotDisturb final : public DoNotDisturb {
public:
    using DoNotDisturb::DoNotDisturb;
    void read(QObject* context, std::function<void(Reading)> done) override;
    bool turn(bool on) override;
    void openAccessSettings() override {}
    // Nothing here ever changes, so there is nothing to read again.
    bool follow() override { return true; }
};
