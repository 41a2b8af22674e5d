#include "platform/linux/audio/DesktopAlertSound.h"

#include "core/Logging.h"
#include "core/ProcessRunner.h"
#include "platform/linux/audio/ToneWav.h"

DesktopAlertSound::DesktopAlertSound(ProcessRunner& processes, QString canberraGtkPlay, QString paplay,
                                     QString toneFile)
    : m_processes(processes)
    , m_canberraGtkPlay(std::move(canberraGtkPlay))
    , m_paplay(std::move(paplay))
    , m_toneFile(std::move(toneFile), &DesktopAlertSound::chimeWav)
{
}

void DesktopAlertSound::play()
{
    if (!m_canberraGtkPlay.isEmpty()) {
        m_processes.fireAndForget(m_canberraGtkPlay, {QStringLiteral("-i"), QStringLiteral("complete")});
        return;
    }
    if (m_paplay.isEmpty()) {
        if (!m_missingLogged) {
            m_missingLogged = true;
            qCInfo(lcPlatform).noquote() << "Marquetto: neither canberra-gtk-play nor paplay is installed; "
                                            "the focus timer ends silently";
        }
        return;
    }
    if (m_toneFile.ensureWritten()) {
        m_processes.fireAndForget(m_paplay, {m_toneFile.path()});
    }
}

QByteArray DesktopAlertSound::chimeWav()
{
    return ToneWav::wav({.duration = 0.5,
                         .startFrequency = 1320.0,
                         .endFrequency = 1180.0,
                         .attack = 0.004,
                         .decay = 0.15,
                         .release = 0.03,
                         .peak = 0.4});
}
