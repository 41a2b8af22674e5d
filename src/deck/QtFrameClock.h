#pragma once

#include "deck/FrameClock.h"

#include <QElapsedTimer>
#include <QTimer>

// The frame clock of the running deck: a monotonic timer for `now` and a frame timer that runs only while an
// animation does.
class QtFrameClock final : public FrameClock {
    Q_OBJECT
public:
    static constexpr int frameIntervalMs = 16;

    explicit QtFrameClock(QObject* parent = nullptr);

    [[nodiscard]] double now() const override;

protected:
    void setTicking(bool ticking) override;

private:
    QElapsedTimer m_elapsed;
    QTimer m_frameTimer;
};
