#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <chrono>
#include <functional>

// D-Bus method calls that nobody waits for.
namespace DBusAsync {

using ReplyHandler = std::function<void(const QDBusMessage& reply)>;

// Sends the call and returns at once, on any thread. A failure (an error reply, no answer within `timeout`)
// is logged as one line; a successful reply goes to `onReply`, which runs on the main thread.
void call(const QDBusConnection& bus, const QDBusMessage& message, std::chrono::milliseconds timeout,
          ReplyHandler onReply = {});

// Sends the call and returns at once, on any thread; `onAnswer` gets the reply or the error (an error reply,
// no answer within `timeout`, no bus) on the main thread, and nothing is logged.
void ask(const QDBusConnection& bus, const QDBusMessage& message, std::chrono::milliseconds timeout,
         ReplyHandler onAnswer);

} // namespace DBusAsync
