#pragma once

#include "platform/ClickSound.h"
#include "platform/linux/audio/ToneFile.h"

#include <QByteArray>
#include <QString>

class ProcessRunner;

// The click played by the sound server's own player, `paplay`, from a short sound of our own that is written
// to `soundFile` on the first play. Main thread. Without paplay nothing plays (and that is logged once);
// without a sound server paplay fails on its own, and nobody waits for it.
class PaplayClickSound final : public ClickSound {
public:
    // `paplay` is the player's path, empty when it is not installed.
    PaplayClickSound(ProcessRunner& processes, QString paplay, QString soundFile);

    void play(double volume) override;

    [[nodiscard]] const QString& soundFile() const { return m_soundFile.path(); }

    // A soft pop: a short falling tone that dies away, as 16-bit mono WAV at 44.1 kHz.
    [[nodiscard]] static QByteArray popWav();

private:
    ProcessRunner& m_processes;
    QString m_paplay;
    ToneFile m_soundFile;
    bool m_missingLogged = false;
};
