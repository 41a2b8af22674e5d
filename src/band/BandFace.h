#pragma once

#include "band/BandReadout.h"

#include <QString>
#include <optional>

// What one module of the band shows at a moment: the look its painter draws and the figures in it, and the
// same in one line of text for those who read the band without seeing it.
struct BandFace {
    enum class Look {
        // `readout`: a caption over a value.
        readout,
        // A one-click module: `symbol`, with `fill` behind it while `on`.
        toggle,
        // `readout.caption` is the date, `readout.value` the time.
        dateTime,
        // `readout.caption` is the place, `readout.value` its time.
        worldClock,
        // `readout.caption` is the rate received, `readout.value` the rate sent.
        network,
        // `symbol` and the network's name in `readout.value`; `on` while connected.
        wifi,
        // `readout.caption` over a bar `fraction` full.
        dayProgress,
        // `symbol` and the time left in `readout.value`; `on` while counting.
        pomodoro,
        // `symbol` before the meeting's title in `readout.caption` and when it starts in `readout.value`
        // (empty with no meeting); `on` while it is under way.
        meeting,
    };

    Look look = Look::readout;
    BandReadout readout;
    QString symbol;
    bool on = false;
    // The colour behind a one-click module that is on, as 0xAARRGGBB.
    std::optional<quint32> fill;
    // A small "!" over the module: what it shows needs a permission it lacks.
    bool badge = false;
    double fraction = 0;
    // The face in one line: "RAM 41%", "micMute off", "25:00".
    QString line;

    bool operator==(const BandFace&) const = default;
};
