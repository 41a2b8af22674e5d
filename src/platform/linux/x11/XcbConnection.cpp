#include "platform/linux/x11/XcbConnection.h"

#include "core/Logging.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <utility>
#include <xcb/randr.h>
#include <xcb/xcbext.h>

std::unique_ptr<XcbConnection> XcbConnection::open(const QByteArray& display,
                                                   std::chrono::milliseconds timeout)
{
    int screenNumber = 0;
    xcb_connection_t* connection =
        xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber);
    std::unique_ptr<XcbConnection> x(new XcbConnection(connection, screenNumber));
    if (xcb_connection_has_error(connection) != 0 || !x->initialise(QDeadlineTimer(timeout))) {
        return nullptr;
    }
    return x;
}

XcbConnection::XcbConnection(xcb_connection_t* connection, int screenNumber)
    : m_connection(connection)
    , m_screenNumber(screenNumber)
{
}

XcbConnection::~XcbConnection()
{
    if (m_ewmhInitialised) {
        xcb_ewmh_connection_wipe(&m_ewmh);
    }
    xcb_disconnect(m_connection);
}

bool XcbConnection::initialise(const QDeadlineTimer& deadline)
{
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < m_screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem <= 0) {
        return false;
    }
    m_root = screens.data->root;
    m_rootSize = QSize(screens.data->width_in_pixels, screens.data->height_in_pixels);
    m_fd = xcb_get_file_descriptor(m_connection);

    xcb_prefetch_extension_data(m_connection, &xcb_randr_id);
    xcb_intern_atom_cookie_t* ewmhCookies = xcb_ewmh_init_atoms(m_connection, &m_ewmh);
    static constexpr char wmState[] = "WM_STATE";
    const xcb_intern_atom_cookie_t wmStateCookie =
        xcb_intern_atom(m_connection, 0, sizeof wmState - 1, static_cast<const char*>(wmState));
    // Replies arrive in order: once the sync's is in, the atoms' and the extension's are read too, and the
    // library calls below that wait without a deadline no longer wait.
    if (!sync(deadline)) {
        std::free(ewmhCookies);
        xcb_ewmh_connection_wipe(&m_ewmh);
        return false; // what is still pending goes with the connection
    }
    m_ewmhInitialised = xcb_ewmh_init_atoms_replies(&m_ewmh, ewmhCookies, nullptr) != 0;
    if (auto atom = reply<xcb_intern_atom_reply_t>(wmStateCookie.sequence, deadline)) {
        m_wmState = atom->atom;
    }
    if (!m_ewmhInitialised) {
        return false;
    }

    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(m_connection, &xcb_randr_id);
    if (randr != nullptr && randr->present != 0) {
        const auto version = reply<xcb_randr_query_version_reply_t>(
            xcb_randr_query_version(m_connection, 1, 5).sequence, deadline);
        m_hasMonitors = version && (version->major_version > 1 || version->minor_version >= 5);
    }
    return !isBroken();
}

bool XcbConnection::isBroken()
{
    if (xcb_connection_has_error(m_connection) == 0) {
        return false;
    }
    if (!m_lossLogged) {
        m_lossLogged = true;
        qCWarning(lcPlatform).noquote() << "Marquetto: lost the X display";
    }
    return true;
}

QDeadlineTimer XcbConnection::deadline()
{
    if (m_unanswered) {
        void* answer = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (xcb_poll_for_reply(m_connection, *m_unanswered, &answer, &error) != 0) {
            std::free(answer);
            std::free(error);
            m_unanswered.reset();
        }
    }
    return QDeadlineTimer(m_unanswered ? silentDeadline : answeringDeadline);
}

void* XcbConnection::waitForReply(unsigned int sequence, const QDeadlineTimer& deadline)
{
    if (xcb_flush(m_connection) <= 0) {
        (void)isBroken();
        return nullptr;
    }
    for (;;) {
        void* answer = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (xcb_poll_for_reply(m_connection, sequence, &answer, &error) != 0) {
            std::free(error); // a window that has gone, most likely: not worth a word
            if (answer == nullptr && isBroken()) {
                return nullptr;
            }
            // Replies come in order: one given up on earlier is in by now, and no longer wanted.
            if (const std::optional<unsigned int> earlier = std::exchange(m_unanswered, std::nullopt))
                xcb_discard_reply(m_connection, *earlier);
            dispatchQueuedEvents();
            return answer;
        }
        const qint64 remaining = deadline.remainingTime();
        if (remaining == 0) {
            break;
        }
        pollfd socket{m_fd, POLLIN, 0};
        if (::poll(&socket, 1, static_cast<int>(remaining)) < 0 && errno != EINTR) {
            break;
        }
    }
    if (m_unanswered)
        xcb_discard_reply(m_connection, sequence);
    else
        m_unanswered = sequence;
    dispatchQueuedEvents();
    return nullptr;
}

bool XcbConnection::sync(const QDeadlineTimer& deadline)
{
    return reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus(m_connection).sequence, deadline) !=
           nullptr;
}

unsigned int XcbConnection::requestProperty(xcb_window_t window, xcb_atom_t property, uint32_t longLength)
{
    return xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, longLength)
        .sequence;
}

std::optional<std::vector<uint32_t>> XcbConnection::values32(unsigned int sequence,
                                                             const QDeadlineTimer& deadline)
{
    const auto answer = reply<xcb_get_property_reply_t>(sequence, deadline);
    if (!answer) {
        return std::nullopt;
    }
    std::vector<uint32_t> values;
    if (answer->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(answer.get()));
        values.assign(data, data + answer->value_len);
    }
    return values;
}

std::optional<QByteArray> XcbConnection::bytes(unsigned int sequence, const QDeadlineTimer& deadline)
{
    const auto answer = reply<xcb_get_property_reply_t>(sequence, deadline);
    if (!answer) {
        return std::nullopt;
    }
    if (answer->format != 8) {
        return QByteArray();
    }
    return QByteArray(static_cast<const char*>(xcb_get_property_value(answer.get())),
                      xcb_get_property_value_length(answer.get()));
}

std::optional<std::vector<uint32_t>> XcbConnection::property32(xcb_window_t window, xcb_atom_t property,
                                                               const QDeadlineTimer& deadline)
{
    return values32(requestProperty(window, property), deadline);
}

void XcbConnection::flush()
{
    if (xcb_flush(m_connection) <= 0) {
        (void)isBroken();
    }
    dispatchQueuedEvents();
}

void XcbConnection::setEventHandler(std::function<void(const xcb_generic_event_t&)> handler)
{
    m_eventHandler = std::move(handler);
}

void XcbConnection::readEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        dispatch(event);
    }
}

void XcbConnection::dispatchQueuedEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(m_connection)) {
        dispatch(event);
    }
}

void XcbConnection::dispatch(xcb_generic_event_t* event)
{
    const XcbReply<xcb_generic_event_t> owned(event);
    if (event->response_type != 0 && m_eventHandler) {
        m_eventHandler(*event);
    }
}
