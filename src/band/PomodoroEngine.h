#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <chrono>

class AlertSound;

// The band's focus timer: a period of `duration` seconds counted down once a second while running. When the
// last second has passed the period ends by itself: the timer stops, `remaining` is back at the full length,
// the phase is idle and the alert sound plays once. The length starts at 25 minutes on every launch. The
// timer does not depend on the band being shown.
//
// Main thread only. `phaseChanged` and `remainingChanged` fire when the published value changes. `tick()` is
// the timer's handler, public so that tests can run it.
class PomodoroEngine final : public QObject {
    Q_OBJECT
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(int remaining READ remaining NOTIFY remainingChanged)

public:
    enum class Phase { idle, running, paused };
    Q_ENUM(Phase)

    static constexpr std::chrono::seconds interval{1};
    // The lengths the module's menu offers, in minutes.
    static constexpr std::array<int, 4> lengths{5, 15, 25, 50};
    static constexpr int defaultDuration = 25 * 60;
    // A length beyond a day is refused, so that the seconds always fit.
    static constexpr int maxMinutes = 24 * 60;

    // `sound` must outlive the engine.
    explicit PomodoroEngine(AlertSound& sound, QObject* parent = nullptr);

    [[nodiscard]] Phase phase() const { return m_phase; }
    // Seconds left of the period.
    [[nodiscard]] int remaining() const { return m_remaining; }
    // Seconds of one period.
    [[nodiscard]] int duration() const { return m_duration; }

    // Counts down from `remaining`, restarting the second's timer.
    void run();
    // Stops counting and keeps `remaining`.
    void pause();
    // Stops counting and starts the period over, idle.
    void reset();
    // A click on the module: pauses while running, otherwise runs (a paused period goes on where it stopped).
    void toggle();
    // Sets the length of a period. While running the current period keeps counting and the length applies
    // from the next one; otherwise the period starts over at the new length, idle. A length below one
    // minute or above `maxMinutes` is refused and logged.
    void setDuration(int minutes);

    void tick();

    // The remaining time as the module shows it: minutes, a colon and two digits of seconds ("25:00").
    [[nodiscard]] static QString remainingText(int remaining);

Q_SIGNALS:
    void phaseChanged(PomodoroEngine::Phase phase);
    void remainingChanged(int remaining);

private:
    void setPhase(Phase phase);
    void setRemaining(int remaining);

    AlertSound& m_sound;
    Phase m_phase = Phase::idle;
    int m_remaining = defaultDuration;
    int m_duration = defaultDuration;
    QTimer m_timer;
};
