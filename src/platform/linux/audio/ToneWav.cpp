#include "platform/linux/audio/ToneWav.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int sampleRate = 44100;

template <typename T>
void append(QByteArray& bytes, T value)
{
    const T little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

} // namespace

// The phase is the running sum of the frequency, so the glide has no jumps.
QByteArray ToneWav::wav(const Tone& tone)
{
    const int samples = static_cast<int>(std::lround(tone.duration * sampleRate));
    const auto dataSize = static_cast<quint32>(samples * 2);
    QByteArray wav;
    wav.reserve(44 + static_cast<int>(dataSize));
    wav.append("RIFF");
    append<quint32>(wav, 36 + dataSize);
    wav.append("WAVEfmt ");
    append<quint32>(wav, 16); // format chunk size
    append<quint16>(wav, 1);  // PCM
    append<quint16>(wav, 1);  // mono
    append<quint32>(wav, sampleRate);
    append<quint32>(wav, sampleRate * 2); // bytes a second
    append<quint16>(wav, 2);              // bytes a frame
    append<quint16>(wav, 16);             // bits a sample
    wav.append("data");
    append<quint32>(wav, dataSize);

    double phase = 0.0;
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double frequency =
            tone.startFrequency * std::pow(tone.endFrequency / tone.startFrequency, t / tone.duration);
        phase += 2.0 * std::numbers::pi * frequency / sampleRate;
        const double envelope =
            std::min({1.0, t / tone.attack, (tone.duration - t) / tone.release}) * std::exp(-t / tone.decay);
        const double value = tone.peak * envelope * std::sin(phase);
        append<qint16>(wav, static_cast<qint16>(std::lround(value * 32767.0)));
    }
    return wav;
}
