#include "PaplayClickSound.h"

#include "core/AtomicFile.h"
#include "core/Logging.h"
#include "core/ProcessRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int sampleRate = 44100;
constexpr double duration = 0.06;        // seconds
constexpr double startFrequency = 900.0; // Hz
constexpr double endFrequency = 300.0;
constexpr double attack = 0.002;       // seconds: no click at the start
constexpr double decay = 0.015;        // seconds for the tone to fall to 1/e
constexpr double release = 0.005;      // seconds: no click at the end either
constexpr double peak = 0.45;          // of full scale
constexpr double fullVolume = 65536.0; // paplay's volume scale

template <typename T>
void append(QByteArray& bytes, T value)
{
    const T little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

} // namespace

PaplayClickSound::PaplayClickSound(ProcessRunner& processes, QString paplay, QString soundFile)
    : m_processes(processes)
    , m_paplay(std::move(paplay))
    , m_soundFile(std::move(soundFile))
{
}

void PaplayClickSound::play(double volume)
{
    if (m_paplay.isEmpty()) {
        if (!m_failureLogged) {
            m_failureLogged = true;
            qCInfo(lcPlatform).noquote() << "Marquetto: paplay is not installed; tiles click silently";
        }
        return;
    }
    const double level = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 0.0;
    if (level == 0.0 || !ensureSoundFile()) {
        return;
    }
    m_processes.fireAndForget(
        m_paplay, {QStringLiteral("--volume=%1").arg(std::lround(level * fullVolume)), m_soundFile});
}

// Written once a process: another copy of the program may have written it already, but never half of it.
bool PaplayClickSound::ensureSoundFile()
{
    if (m_written) {
        return true;
    }
    QDir().mkpath(QFileInfo(m_soundFile).absolutePath());
    if (const auto error = AtomicFile::write(m_soundFile, popWav())) {
        if (!m_failureLogged) {
            m_failureLogged = true;
            qCWarning(lcPlatform).noquote() << "Marquetto: couldn't write the click sound:" << *error;
        }
        return false;
    }
    m_written = true;
    return true;
}

// The frequency glides down exponentially; the phase is the running sum of it, so the glide has no jumps.
QByteArray PaplayClickSound::popWav()
{
    const int samples = static_cast<int>(std::lround(duration * sampleRate));
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
        const double frequency = startFrequency * std::pow(endFrequency / startFrequency, t / duration);
        phase += 2.0 * std::numbers::pi * frequency / sampleRate;
        const double envelope = std::min({1.0, t / attack, (duration - t) / release}) * std::exp(-t / decay);
        const double value = peak * envelope * std::sin(phase);
        append<qint16>(wav, static_cast<qint16>(std::lround(value * 32767.0)));
    }
    return wav;
}
