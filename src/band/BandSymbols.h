#pragma once

#include <QString>
#include <array>

// The symbols the band's modules draw in each of their states, besides the weather's conditions
// (`WeatherText`) and the customise window's (`BandCatalogue`). Each must have a glyph in the icon font: a
// face drawn from a name without one shows "?".
namespace BandSymbols {

struct States {
    const char16_t* off;
    const char16_t* on;

    [[nodiscard]] QString of(bool isOn) const { return QString::fromUtf16(isOn ? on : off); }
};

// On: muted.
inline constexpr States micMute{u"mic.fill", u"mic.slash.fill"};
// Off: volume down; on: volume up.
inline constexpr States volume{u"speaker.minus.fill", u"speaker.plus.fill"};
inline constexpr States keepAwake{u"cup.and.saucer", u"cup.and.saucer.fill"};
// Dark mode, and Do Not Disturb.
inline constexpr States moon{u"moon", u"moon.fill"};
// On: something unread.
inline constexpr States messages{u"message", u"message.fill"};
// On: not empty.
inline constexpr States trash{u"trash", u"trash.fill"};
// On: connected.
inline constexpr States wifi{u"wifi.slash", u"wifi"};
// On: the focus timer counts.
inline constexpr States pomodoro{u"play.fill", u"pause.fill"};
// On: the meeting has a call to join.
inline constexpr States meeting{u"calendar", u"video.fill"};
// Off: a battery charging; on: no battery, the machine runs on mains power.
inline constexpr States power{u"bolt.fill", u"powerplug.fill"};
// Off: bytes received; on: bytes sent.
inline constexpr States network{u"arrow.down", u"arrow.up"};

inline constexpr std::array all{micMute, volume,   keepAwake, moon,  messages, trash,
                                wifi,    pomodoro, meeting,   power, network};

} // namespace BandSymbols
