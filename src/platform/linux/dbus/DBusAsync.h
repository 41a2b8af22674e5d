#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <chrono>
#include <functional>

// D-Bus method calls that nobody waits for.
namespace DBusAsync {

using ReplyHandler = std::function<void(const QDBusMessage& reply)>;
using FailureHandler = std::function<void(const QDBusMessage& error)>;

// Sends the call and returns at once, on any thread. A failure (an error reply, no answer within `timeout`)
// is logged as one line; a successful reply goes to `onReply`, which runs on the main thread.
void call(const QDBusConnection& bus, const QDBusMessage& message, std::chrono::milliseconds timeout,
          ReplyHandler onReply = {});

// As above, but a failure goes to `onFailure` on the main thread instead of the log, for callers to whom
// some errors are ordinary answers.
void call(const QDBusConnection& bus, const QDBusMessage& message, std::chrono::milliseconds timeout,
          ReplyHandler onReply, FailureHandler onFailure);

// Sends the call and returns at once, on any thread; `onAnswer` gets the reply or the error (an error reply,
// no answer within `timeout`, no bus) on the main thread, and nothing is logged.
void ask(const QDBusConnection& bus, const QDBusMessage& message, std::chrono::milliseconds timeout,
         ReplyHandler onAnswer);

// The one log line for a failed call.
void logFailure(const QDBusMessage& call, const QDBusMessage& error);

} // namespace DBusAsync
