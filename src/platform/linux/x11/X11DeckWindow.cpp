#include "platform/linux/x11/X11DeckWindow.h"

#include "core/Logging.h"
#include "platform/linux/x11/XcbConnection.h"

#include <algorithm>

namespace {

constexpr auto openTimeout = std::chrono::seconds(2);
constexpr uint32_t allDesktops = 0xffffffff;
constexpr uint32_t inputHint = 1;        // ICCCM WM_HINTS flag: the input field is set
constexpr std::size_t wmHintsLength = 9; // ICCCM WM_HINTS, in 32-bit fields
constexpr uint32_t withdrawnState = 0;   // ICCCM WM_STATE

xcb_window_t id(quint64 window)
{
    return static_cast<xcb_window_t>(window);
}

void remove(std::vector<uint32_t>& values, uint32_t value)
{
    values.erase(std::remove(values.begin(), values.end(), value), values.end());
}

void add(std::vector<uint32_t>& values, uint32_t value)
{
    if (std::find(values.begin(), values.end(), value) == values.end()) {
        values.push_back(value);
    }
}

void replace32(XcbConnection& x, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
               const std::vector<uint32_t>& values)
{
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, property, type, 32,
                        static_cast<uint32_t>(values.size()), values.data());
}

} // namespace

X11DeckWindow::X11DeckWindow(std::unique_ptr<XcbConnection> connection)
    : m_x(std::move(connection))
{
}

X11DeckWindow::~X11DeckWindow() = default;

std::unique_ptr<X11DeckWindow> X11DeckWindow::connect()
{
    const QByteArray display = qgetenv("DISPLAY");
    auto connection = display.isEmpty() ? nullptr : XcbConnection::open(display, openTimeout);
    if (!connection) {
        qCWarning(lcPlatform).noquote() << "Marquetto: couldn't reach the X display"
                                        << QString::fromLocal8Bit(display) << "for the deck's window";
        return nullptr;
    }
    return std::make_unique<X11DeckWindow>(std::move(connection));
}

// Toolkits merge their own states into what is already set before they map a window, so these survive the
// map. The window stays of the normal type: some window managers hide utility windows of an application
// that is not active, which the deck never is.
void X11DeckWindow::prepare(quint64 window)
{
    if (m_x->isBroken()) {
        return;
    }
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    const QDeadlineTimer deadline = m_x->deadline();
    const unsigned int statesRequest = m_x->requestProperty(id(window), ewmh->_NET_WM_STATE);
    const unsigned int hintsRequest = m_x->requestProperty(id(window), XCB_ATOM_WM_HINTS, wmHintsLength);
    std::vector<uint32_t> states = m_x->values32(statesRequest, deadline).value_or(std::vector<uint32_t>());
    std::vector<uint32_t> hints = m_x->values32(hintsRequest, deadline).value_or(std::vector<uint32_t>());

    remove(states, ewmh->_NET_WM_STATE_ABOVE);
    for (const xcb_atom_t state : {ewmh->_NET_WM_STATE_BELOW, ewmh->_NET_WM_STATE_STICKY,
                                   ewmh->_NET_WM_STATE_SKIP_TASKBAR, ewmh->_NET_WM_STATE_SKIP_PAGER}) {
        add(states, state);
    }
    replace32(*m_x, id(window), ewmh->_NET_WM_STATE, XCB_ATOM_ATOM, states);
    replace32(*m_x, id(window), ewmh->_NET_WM_DESKTOP, XCB_ATOM_CARDINAL, {allDesktops});
    replace32(*m_x, id(window), ewmh->_NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM, {ewmh->_NET_WM_WINDOW_TYPE_NORMAL});
    hints.resize(wmHintsLength, 0);
    hints[0] |= inputHint;
    hints[1] = 0;
    replace32(*m_x, id(window), XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, hints);
    (void)m_x->sync(deadline);
}

// A window the window manager manages is its to stack: it is asked, as EWMH wants, and keeps the state
// property itself. A withdrawn window, or one on a display without a window manager, carries its own.
void X11DeckWindow::setLevel(quint64 window, PanelLevel level)
{
    if (m_x->isBroken()) {
        return;
    }
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    const bool summoned = level == PanelLevel::summoned;
    const bool mapped = isMapped(window);
    if (mapped && hasWindowManager()) {
        const xcb_atom_t dropped = summoned ? ewmh->_NET_WM_STATE_BELOW : ewmh->_NET_WM_STATE_ABOVE;
        const xcb_atom_t taken = summoned ? ewmh->_NET_WM_STATE_ABOVE : ewmh->_NET_WM_STATE_BELOW;
        xcb_ewmh_request_change_wm_state(ewmh, m_x->screenNumber(), id(window), XCB_EWMH_WM_STATE_REMOVE,
                                         dropped, XCB_ATOM_NONE, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
        xcb_ewmh_request_change_wm_state(ewmh, m_x->screenNumber(), id(window), XCB_EWMH_WM_STATE_ADD, taken,
                                         XCB_ATOM_NONE, XCB_EWMH_CLIENT_SOURCE_TYPE_NORMAL);
        if (summoned) {
            xcb_ewmh_request_restack_window(ewmh, m_x->screenNumber(), id(window), XCB_WINDOW_NONE,
                                            XCB_STACK_MODE_ABOVE);
        }
        m_x->flush();
        return;
    }
    replaceLevelState(window, level);
    if (mapped) {
        const uint32_t mode = summoned ? XCB_STACK_MODE_ABOVE : XCB_STACK_MODE_BELOW;
        xcb_configure_window(m_x->get(), id(window), XCB_CONFIG_WINDOW_STACK_MODE, &mode);
    }
    (void)m_x->sync(m_x->deadline()); // as in prepare(): before the window's own client maps it
}

bool X11DeckWindow::isCompositing()
{
    if (m_x->isBroken()) {
        return false;
    }
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    if (m_x->screenNumber() >= ewmh->nb_screens) {
        return false;
    }
    const auto owner = m_x->reply<xcb_get_selection_owner_reply_t>(
        xcb_get_selection_owner(m_x->get(), ewmh->_NET_WM_CM_Sn[m_x->screenNumber()]).sequence,
        m_x->deadline());
    return owner && owner->owner != XCB_WINDOW_NONE;
}

// The check window names itself too; a stale one, left by a window manager that ended, does not.
bool X11DeckWindow::hasWindowManager()
{
    const QDeadlineTimer deadline = m_x->deadline();
    const xcb_atom_t check = m_x->ewmh()->_NET_SUPPORTING_WM_CHECK;
    const auto own = m_x->property32(m_x->root(), check, deadline);
    if (!own || own->size() != 1) {
        return false;
    }
    const auto named = m_x->property32(own->front(), check, deadline);
    return named && *named == *own;
}

// Iconified windows are unmapped but still managed: only WM_STATE tells them from withdrawn ones.
bool X11DeckWindow::isMapped(quint64 window)
{
    const QDeadlineTimer deadline = m_x->deadline();
    const unsigned int attributesRequest = xcb_get_window_attributes(m_x->get(), id(window)).sequence;
    const unsigned int wmStateRequest = m_x->requestProperty(id(window), m_x->wmStateAtom(), 2);
    const auto attributes = m_x->reply<xcb_get_window_attributes_reply_t>(attributesRequest, deadline);
    const auto wmState = m_x->values32(wmStateRequest, deadline);
    return (attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED) ||
           (wmState && !wmState->empty() && wmState->front() != withdrawnState);
}

void X11DeckWindow::replaceLevelState(quint64 window, PanelLevel level)
{
    xcb_ewmh_connection_t* ewmh = m_x->ewmh();
    const bool summoned = level == PanelLevel::summoned;
    std::vector<uint32_t> states =
        m_x->property32(id(window), ewmh->_NET_WM_STATE, m_x->deadline()).value_or(std::vector<uint32_t>());
    remove(states, summoned ? ewmh->_NET_WM_STATE_BELOW : ewmh->_NET_WM_STATE_ABOVE);
    add(states, summoned ? ewmh->_NET_WM_STATE_ABOVE : ewmh->_NET_WM_STATE_BELOW);
    replace32(*m_x, id(window), ewmh->_NET_WM_STATE, XCB_ATOM_ATOM, states);
}
