#pragma once

#include "core/Clock.h"

#include <QDateTime>
#include <QObject>
#include <memory>

// The tick every clock module of the band is redrawn by. Their faces show minutes, so it wakes once a minute,
// on the minute, and sleeps in between. `now` is read from the clock when the object is made and again on
// every tick; starting does not tick at once.
//
// Main thread only. `nowChanged` fires on a tick whose minute differs from the published one. `tick()` reads
// the clock without waiting for the minute, for a band that comes back on screen.
class BandClock final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QDateTime now READ now NOTIFY nowChanged)

public:
    // `clock` must outlive the object.
    explicit BandClock(const Clock& clock, QObject* parent = nullptr);

    // Begins ticking; nothing while already running.
    void start();
    void stop();
    [[nodiscard]] bool isRunning() const { return m_alarm != nullptr; }

    [[nodiscard]] const QDateTime& now() const { return m_now; }

    void tick();

Q_SIGNALS:
    void nowChanged(const QDateTime& now);

private:
    void wakeAtNextMinute();

    const Clock& m_clock;
    QDateTime m_now;
    std::unique_ptr<ClockAlarm> m_alarm;
};
