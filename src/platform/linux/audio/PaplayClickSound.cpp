#include "platform/linux/audio/PaplayClickSound.h"

#include "core/Logging.h"
#include "core/ProcessRunner.h"
#include "platform/linux/audio/ToneWav.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double fullVolume = 65536.0; // paplay's volume scale

} // namespace

PaplayClickSound::PaplayClickSound(ProcessRunner& processes, QString paplay, QString soundFile)
    : m_processes(processes)
    , m_paplay(std::move(paplay))
    , m_soundFile(std::move(soundFile), &PaplayClickSound::popWav)
{
}

void PaplayClickSound::play(double volume)
{
    if (m_paplay.isEmpty()) {
        if (!m_missingLogged) {
            m_missingLogged = true;
            qCInfo(lcPlatform).noquote() << "Marquetto: paplay is not installed; tiles click silently";
        }
        return;
    }
    const double level = std::isfinite(volume) ? std::clamp(volume, 0.0, 1.0) : 0.0;
    if (level == 0.0 || !m_soundFile.ensureWritten()) {
        return;
    }
    m_processes.fireAndForget(
        m_paplay, {QStringLiteral("--volume=%1").arg(std::lround(level * fullVolume)), m_soundFile.path()});
}

QByteArray PaplayClickSound::popWav()
{
    return ToneWav::wav({.duration = 0.06,
                         .startFrequency = 900.0,
                         .endFrequency = 300.0,
                         .attack = 0.002,
                         .decay = 0.015,
                         .release = 0.005,
                         .peak = 0.45});
}
