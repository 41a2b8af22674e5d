#include "platform/linux/hotkeys/X11HotKeys.h"

#include "core/Logging.h"
#include "core/MainThread.h"
#include "platform/HotKeyTrigger.h"
#include "platform/linux/x11/XcbConnection.h"

#include <QSocketNotifier>
#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr auto openTimeout = std::chrono::seconds(2);
constexpr xcb_keysym_t numLockSym = 0xff7f;

// The keys of the deck's table by Mac virtual key code, and the X keysyms that type the same characters.
constexpr std::array<std::pair<std::uint32_t, xcb_keysym_t>, 11> keySymbols{{
    {49, 0x0020}, // space
    {29, 0x0030}, // 0
    {18, 0x0031},
    {19, 0x0032},
    {20, 0x0033},
    {21, 0x0034},
    {23, 0x0035},
    {22, 0x0036},
    {26, 0x0037},
    {28, 0x0038},
    {25, 0x0039},
}};

// Carbon's modifier bits and the X modifiers they stand for: Option is Alt and Command the Super key.
constexpr std::array<std::pair<std::uint32_t, std::uint16_t>, 4> modifierBits{{
    {0x1000, XCB_MOD_MASK_CONTROL},
    {0x0800, XCB_MOD_MASK_1},
    {0x0200, XCB_MOD_MASK_SHIFT},
    {0x0100, XCB_MOD_MASK_4},
}};

// The modifiers a key press reports that are no part of a key's identity: the locks, and mouse buttons held.
constexpr std::uint16_t modifierMask = 0xff;

// The modifier bit Num Lock sets, which differs between keyboard maps; 0 when no modifier holds it.
std::uint16_t numLockMaskOf(XcbConnection& x, const std::vector<xcb_keycode_t>& numLock,
                            const QDeadlineTimer& deadline)
{
    const auto map =
        x.reply<xcb_get_modifier_mapping_reply_t>(xcb_get_modifier_mapping(x.get()).sequence, deadline);
    if (numLock.empty() || !map) {
        return 0;
    }
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(map.get());
    const int perModifier = map->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t code = codes[modifier * perModifier + i];
            if (code != 0 && std::find(numLock.begin(), numLock.end(), code) != numLock.end()) {
                return static_cast<std::uint16_t>(1U << modifier);
            }
        }
    }
    return 0;
}

} // namespace

X11HotKeys::X11HotKeys(std::unique_ptr<XcbConnection> connection, QObject* parent)
    : GlobalHotKeys(parent)
    , m_x(std::move(connection))
{
    m_x->setEventHandler([this](const xcb_generic_event_t& event) {
        const int type = event.response_type & 0x7f;
        if (type == XCB_KEY_PRESS) {
            const auto& press = reinterpret_cast<const xcb_key_press_event_t&>(event);
            const bool repeated =
                m_lastRelease && m_lastRelease->keyCode == press.detail && m_lastRelease->time == press.time;
            m_lastRelease.reset();
            if (!repeated) {
                handleKeyPress(press.detail, press.state);
            }
        } else if (type == XCB_KEY_RELEASE) {
            const auto& release = reinterpret_cast<const xcb_key_release_event_t&>(event);
            m_lastRelease = Release{release.detail, release.time};
        }
    });
    m_notifier = std::make_unique<QSocketNotifier>(m_x->fileDescriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11HotKeys::readEvents);
    m_numLockMask = numLockMaskOf(*m_x, codesOf(keyboard(), numLockSym), m_x->deadline());
}

X11HotKeys::~X11HotKeys() = default;

bool X11HotKeys::registerKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id,
                             const HotKeyName&)
{
    const bool grabbed = replaceGrab(keyCode, modifiers, id);
    m_triggers[id] = grabbed ? HotKeyTrigger::text(keyCode, modifiers).value_or(QString()) : QString();
    Q_EMIT triggersChanged();
    return grabbed;
}

bool X11HotKeys::replaceGrab(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t id)
{
    if (m_x->isBroken()) {
        return false;
    }
    const auto earlier = m_grabs.find(id);
    if (earlier != m_grabs.end()) {
        const Grab released = earlier->second;
        m_grabs.erase(earlier);
        const bool stillHeld = std::any_of(m_grabs.begin(), m_grabs.end(),
                                           [&](const auto& entry) { return entry.second == released; });
        if (!stillHeld) {
            ungrab(released);
        }
    }
    const auto wanted = grabFor(keyCode, modifiers);
    if (!wanted || !grab(*wanted)) {
        return false;
    }
    m_grabs[id] = *wanted;
    return true;
}

std::vector<xcb_keycode_t> X11HotKeys::codesOf(const KeyboardMap& map, xcb_keysym_t symbol)
{
    std::vector<xcb_keycode_t> codes;
    for (std::size_t i = 0; i < map.symbols.size(); ++i) {
        const auto code =
            static_cast<xcb_keycode_t>(map.firstCode + static_cast<int>(i) / map.symbolsPerCode);
        if (map.symbols[i] == symbol && (codes.empty() || codes.back() != code)) {
            codes.push_back(code);
        }
    }
    return codes;
}

const X11HotKeys::KeyboardMap& X11HotKeys::keyboard()
{
    if (m_keyboard) {
        return *m_keyboard;
    }
    KeyboardMap map;
    const xcb_setup_t* setup = xcb_get_setup(m_x->get());
    const int count = setup->max_keycode - setup->min_keycode + 1;
    const auto mapping = m_x->reply<xcb_get_keyboard_mapping_reply_t>(
        xcb_get_keyboard_mapping(m_x->get(), setup->min_keycode, static_cast<uint8_t>(count)).sequence,
        m_x->deadline());
    if (mapping && mapping->keysyms_per_keycode > 0) {
        const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
        map.firstCode = setup->min_keycode;
        map.symbolsPerCode = mapping->keysyms_per_keycode;
        map.symbols.assign(symbols, symbols + xcb_get_keyboard_mapping_keysyms_length(mapping.get()));
    }
    m_keyboard = std::move(map);
    return *m_keyboard;
}

std::optional<X11HotKeys::Grab> X11HotKeys::grabFor(std::uint32_t keyCode, std::uint32_t modifiers)
{
    const auto symbol = std::find_if(keySymbols.begin(), keySymbols.end(),
                                     [keyCode](const auto& entry) { return entry.first == keyCode; });
    if (symbol == keySymbols.end()) {
        return std::nullopt;
    }
    Grab wanted;
    for (const auto& [carbon, x] : modifierBits) {
        if ((modifiers & carbon) != 0) {
            wanted.modifiers |= x;
        }
    }
    wanted.keyCodes = codesOf(keyboard(), symbol->second);
    if (wanted.keyCodes.empty()) {
        return std::nullopt;
    }
    return wanted;
}

std::vector<std::uint16_t> X11HotKeys::lockCombinations(std::uint16_t modifiers) const
{
    std::vector<std::uint16_t> combinations{modifiers,
                                            static_cast<std::uint16_t>(modifiers | XCB_MOD_MASK_LOCK)};
    if (m_numLockMask != 0) {
        combinations.push_back(static_cast<std::uint16_t>(modifiers | m_numLockMask));
        combinations.push_back(static_cast<std::uint16_t>(modifiers | m_numLockMask | XCB_MOD_MASK_LOCK));
    }
    return combinations;
}

// X refuses a grab another client holds with BadAccess, which only a checked request reports; the sync
// brings every error in, so checking them afterwards never waits.
bool X11HotKeys::grab(const Grab& wanted)
{
    std::vector<xcb_void_cookie_t> requests;
    for (const xcb_keycode_t code : wanted.keyCodes) {
        for (const std::uint16_t modifiers : lockCombinations(wanted.modifiers)) {
            requests.push_back(xcb_grab_key_checked(m_x->get(), 1, m_x->root(), modifiers, code,
                                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    const bool answered = m_x->sync(m_x->deadline());
    bool granted = answered;
    for (const xcb_void_cookie_t request : requests) {
        if (!answered) {
            xcb_discard_reply(m_x->get(), request.sequence);
            continue;
        }
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(m_x->get(), request));
        granted = granted && !error;
    }
    if (!granted) {
        ungrab(wanted);
    }
    return granted;
}

void X11HotKeys::ungrab(const Grab& held)
{
    for (const xcb_keycode_t code : held.keyCodes) {
        for (const std::uint16_t modifiers : lockCombinations(held.modifiers)) {
            xcb_ungrab_key(m_x->get(), code, m_x->root(), modifiers);
        }
    }
    m_x->flush();
}

void X11HotKeys::readEvents()
{
    m_x->readEvents();
    if (m_x->isBroken()) {
        m_notifier->setEnabled(false); // the socket reads as ready for ever once the server is gone
    }
}

// Presses also arrive while a call waits for its replies, inside that call: the signal goes out from the
// event loop afterwards.
void X11HotKeys::handleKeyPress(xcb_keycode_t keyCode, std::uint16_t state)
{
    const auto modifiers =
        static_cast<std::uint16_t>(state & modifierMask & ~(XCB_MOD_MASK_LOCK | m_numLockMask));
    for (const auto& [id, held] : m_grabs) {
        if (held.modifiers == modifiers &&
            std::find(held.keyCodes.begin(), held.keyCodes.end(), keyCode) != held.keyCodes.end()) {
            MainThread::later(this, [this, pressedId = id] { Q_EMIT pressed(pressedId); });
        }
    }
}

std::unique_ptr<GlobalHotKeys> createX11HotKeys(QObject* parent)
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        return std::make_unique<NullGlobalHotKeys>(HotKeyMechanism::none, parent);
    }
    auto connection = XcbConnection::open(display, openTimeout);
    if (!connection) {
        qCWarning(lcPlatform).noquote() << "Marquetto: couldn't reach the X display"
                                        << QString::fromLocal8Bit(display) << "for the hot keys";
        return std::make_unique<NullGlobalHotKeys>(HotKeyMechanism::none, parent);
    }
    return std::make_unique<X11HotKeys>(std::move(connection), parent);
}
