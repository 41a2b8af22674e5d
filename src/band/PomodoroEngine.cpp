#include "PomodoroEngine.h"

#include "core/Logging.h"
#include "platform/AlertSound.h"

PomodoroEngine::PomodoroEngine(AlertSound& sound, QObject* parent)
    : QObject(parent)
    , m_sound(sound)
{
    m_timer.setInterval(interval);
    connect(&m_timer, &QTimer::timeout, this, &PomodoroEngine::tick);
}

void PomodoroEngine::run()
{
    setPhase(Phase::running);
    m_timer.start();
}

void PomodoroEngine::pause()
{
    setPhase(Phase::paused);
    m_timer.stop();
}

void PomodoroEngine::reset()
{
    m_timer.stop();
    setRemaining(m_duration);
    setPhase(Phase::idle);
}

void PomodoroEngine::toggle()
{
    if (m_phase == Phase::running)
        pause();
    else
        run();
}

void PomodoroEngine::setDuration(int minutes)
{
    if (minutes < 1 || minutes > maxMinutes) {
        qCWarning(lcBand).noquote() << "Marquetto: ignoring a focus timer length of" << minutes << "minutes";
        return;
    }
    m_duration = minutes * 60;
    if (m_phase == Phase::running)
        return;
    setRemaining(m_duration);
    setPhase(Phase::idle);
}

// The last second ends the period instead of showing 0:00.
void PomodoroEngine::tick()
{
    if (m_remaining > 1) {
        setRemaining(m_remaining - 1);
        return;
    }
    m_timer.stop();
    setRemaining(m_duration);
    setPhase(Phase::idle);
    m_sound.play();
}

QString PomodoroEngine::remainingText(int remaining)
{
    return QStringLiteral("%1:%2").arg(remaining / 60).arg(remaining % 60, 2, 10, QLatin1Char('0'));
}

void PomodoroEngine::setPhase(Phase phase)
{
    if (phase == m_phase)
        return;
    m_phase = phase;
    Q_EMIT phaseChanged(m_phase);
}

void PomodoroEngine::setRemaining(int remaining)
{
    if (remaining == m_remaining)
        return;
    m_remaining = remaining;
    Q_EMIT remainingChanged(m_remaining);
}
