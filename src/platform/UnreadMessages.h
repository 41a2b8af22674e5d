#pragma once

#include "core/MainThread.h"

#include <QObject>
#include <functional>

// The count of messages the user has not read yet, where the platform keeps one, and the application that
// shows them.
//
// Main thread only. `changed` fires when an implementation that is told about new counts (rather than asked)
// hears of one; the next `read` has it.
class UnreadMessages : public QObject {
    Q_OBJECT
public:
    struct Reading {
        enum class Kind {
            count,
            // The count could be read before and may be again: the last one stands.
            queryFailed,
            // Reading needs a permission the user has not given.
            noAccess,
        };
        Kind kind = Kind::queryFailed;
        int count = 0;
        bool operator==(const Reading&) const = default;
    };

    using QObject::QObject;

    // Returns at once; `done` gets the reading on the main thread, unless `context` is gone by then.
    virtual void read(QObject* context, std::function<void(Reading)> done) = 0;
    // Opens the application that shows the unread messages. Returns at once.
    virtual void open() = 0;
    // Opens the place where the permission a `noAccess` reading lacks is given.
    virtual void openAccessSettings() = 0;

Q_SIGNALS:
    void changed();
};

// A platform without unread counts: nothing is ever unread.
class NoUnreadMessages final : public UnreadMessages {
public:
    using UnreadMessages::UnreadMessages;
    void read(QObject* context, std::function<void(Reading)> done) override
    {
        MainThread::answerLater(context, std::move(done), Reading{Reading::Kind::count, 0});
    }
    void open() override {}
    void openAccessSettings() override {}
};
