#pragma once

#include "platform/AlertSound.h"
#include "platform/linux/audio/ToneFile.h"

#include <QByteArray>
#include <QString>

class ProcessRunner;

// The theme's "complete" sound through `canberra-gtk-play`; without it a short chime of our own, written to
// `toneFile` on the first play, through `paplay`; without either nothing plays (and that is logged once).
// Main thread; nobody waits for the player, which fails on its own without a sound server.
class DesktopAlertSound final : public AlertSound {
public:
    // The players' paths, each empty when it is not installed.
    DesktopAlertSound(ProcessRunner& processes, QString canberraGtkPlay, QString paplay, QString toneFile);

    void play() override;

    // A bright tone that rings out for half a second, as 16-bit mono WAV at 44.1 kHz.
    [[nodiscard]] static QByteArray chimeWav();

private:
    ProcessRunner& m_processes;
    QString m_canberraGtkPlay;
    QString m_paplay;
    ToneFile m_toneFile;
    bool m_missingLogged = false;
};
