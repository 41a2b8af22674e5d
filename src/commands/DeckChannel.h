#pragma once

#include "core/AppPaths.h"

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <optional>

// How `marquetto-deck`, and a second launch of the deck, talk to the running deck: one local socket per
// user's data folder, one request and one answer per connection, each a line of compact JSON.
namespace DeckChannel {

struct Request {
    QStringList arguments;
    QByteArray input; // what the command reads from standard input
    // When the client stops waiting for the answer, on the machine's monotonic clock that every process
    // shares. A deck that was stopped meanwhile must not carry out a command its client already reported as
    // failed.
    std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt;
    bool operator==(const Request&) const = default;
};

struct Response {
    int status = 0;
    QString out;
    QString err;
    bool operator==(const Response&) const = default;
};

// Messages larger than this are refused, so that a stray client can't fill the deck's memory.
inline constexpr qsizetype maxMessageBytes = 16 * 1024 * 1024;

// The socket of the deck that keeps its files under `paths`, and the lock the running deck holds.
[[nodiscard]] QString socketPath(const AppPaths& paths);
[[nodiscard]] QString lockPath(const AppPaths& paths);

[[nodiscard]] QByteArray encode(const Request& request);
[[nodiscard]] QByteArray encode(const Response& response);
[[nodiscard]] std::optional<Request> decodeRequest(const QByteArray& line);
[[nodiscard]] std::optional<Response> decodeResponse(const QByteArray& line);

// Sends the request to the running deck and waits for its answer; nothing when no deck listens or it does not
// answer within `timeout`. The request goes with that deadline, so the deck drops it once it has passed.
[[nodiscard]] std::optional<Response> send(const AppPaths& paths, const Request& request,
                                           std::chrono::milliseconds timeout = std::chrono::seconds(10));

} // namespace DeckChannel
