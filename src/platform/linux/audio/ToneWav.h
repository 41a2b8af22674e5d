#pragma once

#include <QByteArray>

// Short sounds of our own for the sound server's player, so that nothing depends on a sound theme.
namespace ToneWav {

// A tone whose frequency glides exponentially from `startFrequency` to `endFrequency` and that dies away.
struct Tone {
    double duration = 0;       // seconds
    double startFrequency = 0; // Hz
    double endFrequency = 0;   // Hz
    double attack = 0;         // seconds of fade-in: no click at the start
    double decay = 0;          // seconds for the tone to fall to 1/e
    double release = 0;        // seconds of fade-out: no click at the end either
    double peak = 0;           // of full scale
};

// The tone as 16-bit mono WAV at 44.1 kHz.
[[nodiscard]] QByteArray wav(const Tone& tone);

} // namespace ToneWav
