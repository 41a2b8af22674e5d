#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QSize>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

// Frees what xcb allocated for a reply.
struct XcbFree {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, XcbFree>;

// One connection to an X server, with the EWMH atoms learnt, in which no round trip waits past a deadline.
//
// xcb's own reply functions wait for ever; here every reply is polled for until the caller's deadline and
// given up after it, so a server that stops answering costs a caller a fraction of a second, never a hang.
// After a reply went unanswered, the next calls get a much shorter deadline until the server answers again:
// that reply coming late counts, so a server that was only slow for a while gets its full time back.
// Errors (a window that has gone) read as "no reply", quietly.
//
// The connection breaking (the server gone) is seen by `isBroken()`, which logs it once.
class XcbConnection final {
public:
    // How long one call may wait for its replies while the server answers, and once it did not.
    static constexpr std::chrono::milliseconds answeringDeadline{500};
    static constexpr std::chrono::milliseconds silentDeadline{50};

    // Connects to `display` (as DISPLAY spells it) and learns the atoms and extensions; nothing when the
    // server cannot be reached or does not answer within `timeout`.
    [[nodiscard]] static std::unique_ptr<XcbConnection> open(const QByteArray& display,
                                                             std::chrono::milliseconds timeout);
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    [[nodiscard]] xcb_connection_t* get() const { return m_connection; }
    [[nodiscard]] xcb_ewmh_connection_t* ewmh() { return &m_ewmh; }
    [[nodiscard]] int screenNumber() const { return m_screenNumber; }
    [[nodiscard]] xcb_window_t root() const { return m_root; }
    [[nodiscard]] QSize rootSize() const { return m_rootSize; }
    [[nodiscard]] int fileDescriptor() const { return m_fd; }
    [[nodiscard]] xcb_atom_t wmStateAtom() const { return m_wmState; }
    // Whether the server has RandR 1.5, which lists monitors.
    [[nodiscard]] bool hasMonitors() const { return m_hasMonitors; }

    // Whether the connection broke; the first time, logs that the display was lost.
    [[nodiscard]] bool isBroken();

    // The deadline for one call's replies.
    [[nodiscard]] QDeadlineTimer deadline();

    // The reply to the request numbered `sequence`, or nothing: an error reply, no reply before `deadline`,
    // or a broken connection. Every request that has a reply must be collected here exactly once.
    template <typename Reply>
    [[nodiscard]] XcbReply<Reply> reply(unsigned int sequence, const QDeadlineTimer& deadline)
    {
        return XcbReply<Reply>(static_cast<Reply*>(waitForReply(sequence, deadline)));
    }
    // Waits for the server to have handled everything sent so far.
    bool sync(const QDeadlineTimer& deadline);

    // Asks for a property of up to `longLength` 32-bit units; collect the answer with `values32` or `bytes`.
    [[nodiscard]] unsigned int requestProperty(xcb_window_t window, xcb_atom_t property,
                                               uint32_t longLength = 1024);
    // A property's 32-bit values: empty when it is not set or not 32-bit, nothing when there was no answer.
    [[nodiscard]] std::optional<std::vector<uint32_t>> values32(unsigned int sequence,
                                                                const QDeadlineTimer& deadline);
    // A property's bytes: empty when it is not set, nothing when there was no answer.
    [[nodiscard]] std::optional<QByteArray> bytes(unsigned int sequence, const QDeadlineTimer& deadline);
    // One property's 32-bit values, in one round trip.
    [[nodiscard]] std::optional<std::vector<uint32_t>> property32(xcb_window_t window, xcb_atom_t property,
                                                                  const QDeadlineTimer& deadline);

    // Sends what is buffered; requests without replies need this.
    void flush();

    // Where events go; called for every event but errors. It must not send requests.
    void setEventHandler(std::function<void(const xcb_generic_event_t&)> handler);
    // Reads what the server sent and hands the events over.
    void readEvents();

private:
    XcbConnection(xcb_connection_t* connection, int screenNumber);
    bool initialise(const QDeadlineTimer& deadline);
    void* waitForReply(unsigned int sequence, const QDeadlineTimer& deadline);
    // Hands over the events that arrived while waiting for replies; the socket no longer signals them.
    void dispatchQueuedEvents();
    void dispatch(xcb_generic_event_t* event);

    xcb_connection_t* m_connection = nullptr;
    int m_screenNumber = 0;
    xcb_ewmh_connection_t m_ewmh{};
    bool m_ewmhInitialised = false;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    QSize m_rootSize;
    int m_fd = -1;
    xcb_atom_t m_wmState = XCB_ATOM_NONE;
    bool m_hasMonitors = false;
    // The first request given up on since the server last answered: kept, so that its late reply is seen.
    std::optional<unsigned int> m_unanswered;
    bool m_lossLogged = false;
    std::function<void(const xcb_generic_event_t&)> m_eventHandler;
};
