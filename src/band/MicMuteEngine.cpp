#include "MicMuteEngine.h"

#include "core/MainThread.h"

#include <QPointer>
#include <algorithm>

MicMuteEngine::MicMuteEngine(AudioInput& input, JobRunner background, QObject* parent)
    : QObject(parent)
    , m_input(input)
    , m_background(std::move(background))
{
    connect(&m_input, &AudioInput::changed, this, [this] {
        if (m_following)
            refresh();
    });
}

void MicMuteEngine::refresh()
{
    m_following = true;
    m_input.follow();
    m_refreshWaiting = true;
    runNext();
}

void MicMuteEngine::stopFollowing()
{
    m_following = false;
}

void MicMuteEngine::toggle()
{
    ++m_togglesWaiting;
    runNext();
}

std::optional<bool> MicMuteEngine::read(AudioInput& input)
{
    const std::optional<AudioInput::Input> device = input.defaultInput();
    if (!device)
        return std::nullopt;
    if (device->muted)
        return device->muted;
    if (device->volume)
        return *device->volume < silentVolume;
    return std::nullopt;
}

MicMuteEngine::Outcome MicMuteEngine::toggled(AudioInput& input, bool muted, float savedVolume)
{
    const std::optional<AudioInput::Input> device = input.defaultInput();
    if (!device)
        return {std::nullopt, savedVolume};
    if (device->muted && input.setMuted(device->name, !muted))
        return {!muted, savedVolume};
    if (!device->volume)
        return {std::nullopt, savedVolume};
    float target = savedVolume;
    if (!muted) {
        savedVolume = std::max(*device->volume, volumeFloor);
        target = 0;
    }
    if (!input.setVolume(device->name, target))
        return {std::nullopt, savedVolume};
    return {target < silentVolume, savedVolume};
}

void MicMuteEngine::runNext()
{
    if (m_busy || (m_togglesWaiting == 0 && !m_refreshWaiting))
        return;
    m_busy = true;
    // A toggle flips what the last answer showed, so questions wait for the one before.
    const bool toggling = m_togglesWaiting > 0;
    if (toggling)
        --m_togglesWaiting;
    else
        m_refreshWaiting = false;
    m_background(
        [&input = m_input, guard = QPointer(this), toggling, muted = m_muted, saved = m_savedVolume] {
            const Outcome outcome = toggling ? toggled(input, muted, saved) : Outcome{read(input), saved};
            MainThread::post(guard, [outcome](MicMuteEngine& engine) { engine.finish(outcome); });
        });
}

void MicMuteEngine::finish(const Outcome& outcome)
{
    m_busy = false;
    m_savedVolume = outcome.savedVolume;
    if (outcome.muted && *outcome.muted != m_muted) {
        m_muted = *outcome.muted;
        Q_EMIT mutedChanged(m_muted);
    }
    runNext();
}
