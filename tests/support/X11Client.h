#pragma once

#include "EnvironmentGuard.h"
#include "Eventually.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRect>
#include <QThread>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

// No X display for as long as it exists: DISPLAY is unset and given its value back afterwards.
class NoDisplay final {
public:
    NoDisplay() { m_environment.unset("DISPLAY"); }

private:
    EnvironmentGuard m_environment;
};

// Another application on the display, with its own connection: it makes windows and says what a toolkit
// would say about them. It waits for its replies without deadlines; the server is the test's own.
class X11Client final {
public:
    X11Client()
        : m_c(xcb_connect(nullptr, nullptr))
        , m_root(xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root)
    {
    }
    ~X11Client() { xcb_disconnect(m_c); }
    X11Client(const X11Client&) = delete;
    X11Client& operator=(const X11Client&) = delete;

    [[nodiscard]] xcb_connection_t* connection() const { return m_c; }
    [[nodiscard]] xcb_window_t root() const { return m_root; }

    // Waits until the server has handled this client's requests.
    void sync() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }
    xcb_atom_t atom(const char* name)
    {
        std::unique_ptr<xcb_intern_atom_reply_t, XcbFree> reply(
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, std::strlen(name), name), nullptr));
        return reply->atom;
    }
    void set(xcb_window_t window, const char* property, xcb_atom_t type, std::vector<uint32_t> values)
    {
        xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, window, atom(property), type, 32, values.size(),
                            values.data());
    }
    std::vector<uint32_t> get(xcb_window_t window, const char* property)
    {
        std::unique_ptr<xcb_get_property_reply_t, XcbFree> reply(xcb_get_property_reply(
            m_c, xcb_get_property(m_c, 0, window, atom(property), XCB_ATOM_ANY, 0, 64), nullptr));
        if (!reply || reply->format != 32)
            return {};
        const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
        return {values, values + reply->value_len};
    }
    // A top-level window, mapped.
    xcb_window_t map(QRect geometry, uint32_t pid, const QByteArray& wmClass, bool dock = false)
    {
        const xcb_window_t window = xcb_generate_id(m_c);
        // Light grey, so that the window shows in screenshots against a dark desktop and the deck.
        const uint32_t background = 0xd8d8d8;
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, window, m_root, geometry.x(), geometry.y(),
                          geometry.width(), geometry.height(), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXEL, &background);
        if (pid != 0)
            set(window, "_NET_WM_PID", XCB_ATOM_CARDINAL, {pid});
        if (!wmClass.isEmpty())
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                                wmClass.size(), wmClass.constData());
        if (dock) {
            const auto bottom = static_cast<uint32_t>(geometry.height());
            set(window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {atom("_NET_WM_WINDOW_TYPE_DOCK")});
            set(window, "_NET_WM_STRUT", XCB_ATOM_CARDINAL, {0, 0, 0, bottom});
            set(window, "_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL,
                {0, 0, 0, bottom, 0, 0, 0, 0, 0, 0, 0, 1279});
        }
        xcb_map_window(m_c, window);
        xcb_flush(m_c);
        return window;
    }
    void destroy(xcb_window_t window)
    {
        xcb_destroy_window(m_c, window);
        xcb_flush(m_c);
    }
    // A request to the window manager, as a pager or the application itself sends it.
    void ask(xcb_window_t window, const char* type, std::array<uint32_t, 5> data)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = atom(type);
        std::copy(data.begin(), data.end(), message.data.data32);
        xcb_send_event(m_c, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(m_c);
    }
    [[nodiscard]] bool managed(xcb_window_t window)
    {
        const auto clients = get(m_root, "_NET_CLIENT_LIST");
        return std::find(clients.begin(), clients.end(), window) != clients.end() &&
               get(window, "_NET_FRAME_EXTENTS").size() == 4;
    }
    // The first key code that types `symbol` in the server's keyboard map, 0 when none does.
    [[nodiscard]] xcb_keycode_t keyCode(xcb_keysym_t symbol)
    {
        const xcb_setup_t* setup = xcb_get_setup(m_c);
        const auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
        std::unique_ptr<xcb_get_keyboard_mapping_reply_t, XcbFree> map(xcb_get_keyboard_mapping_reply(
            m_c, xcb_get_keyboard_mapping(m_c, setup->min_keycode, count), nullptr));
        const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(map.get());
        for (int i = 0; i < xcb_get_keyboard_mapping_keysyms_length(map.get()); ++i) {
            if (symbols[i] == symbol)
                return static_cast<xcb_keycode_t>(setup->min_keycode + i / map->keysyms_per_keycode);
        }
        return 0;
    }
    // Grabs a key on the root window, as a program with global keys does; false when refused.
    bool grabKey(xcb_keycode_t key, uint16_t modifiers)
    {
        std::unique_ptr<xcb_generic_error_t, XcbFree> error(
            xcb_request_check(m_c, xcb_grab_key_checked(m_c, 1, m_root, modifiers, key, XCB_GRAB_MODE_ASYNC,
                                                        XCB_GRAB_MODE_ASYNC)));
        return !error;
    }
    [[nodiscard]] xcb_window_t active()
    {
        const auto value = get(m_root, "_NET_ACTIVE_WINDOW");
        return value.empty() ? xcb_window_t{XCB_WINDOW_NONE} : value.front();
    }
    [[nodiscard]] bool hasState(xcb_window_t window, const char* state)
    {
        const auto states = get(window, "_NET_WM_STATE");
        return std::find(states.begin(), states.end(), atom(state)) != states.end();
    }
    // Where the window manager stacks the window among its clients, bottom first.
    [[nodiscard]] std::ptrdiff_t stackingIndex(xcb_window_t window)
    {
        const auto stacking = get(m_root, "_NET_CLIENT_LIST_STACKING");
        return std::find(stacking.begin(), stacking.end(), window) - stacking.begin();
    }
    // The managed top-level window of the process `pid`; none until the window manager manages one.
    [[nodiscard]] xcb_window_t windowOf(qint64 pid)
    {
        for (const uint32_t window : get(m_root, "_NET_CLIENT_LIST")) {
            if (get(window, "_NET_WM_PID") == std::vector<uint32_t>{static_cast<uint32_t>(pid)})
                return window;
        }
        return XCB_WINDOW_NONE;
    }

private:
    struct XcbFree {
        void operator()(void* p) const { std::free(p); }
    };
    xcb_connection_t* m_c;
    xcb_window_t m_root;
};
