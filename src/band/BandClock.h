#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <chrono>

class Clock;

// The one-second tick every clock module of the band is redrawn by. `now` is read from the clock when the
// object is made and again on every tick while running; starting does not tick at once.
//
// Main thread only. `nowChanged` fires on a tick whose time differs from the published one. `tick()` is the
// timer's handler, public so that tests can run it.
class BandClock final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QDateTime now READ now NOTIFY nowChanged)

public:
    static constexpr std::chrono::seconds interval{1};

    // `clock` must outlive the object.
    explicit BandClock(const Clock& clock, QObject* parent = nullptr);

    // Begins ticking; nothing while already running.
    void start();
    void stop();
    [[nodiscard]] bool isRunning() const { return m_timer.isActive(); }

    [[nodiscard]] const QDateTime& now() const { return m_now; }

    void tick();

Q_SIGNALS:
    void nowChanged(const QDateTime& now);

private:
    const Clock& m_clock;
    QDateTime m_now;
    QTimer m_timer;
};
