#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

class Clock;
class DeckSettings;
class ReduceMotion;

// When the deck deals its tiles in like cards: at start-up and on a summon after twenty quiet minutes (no
// start, summon or dismissal), when the "dealAnimation" preference is on and the desktop does not ask for
// reduced motion. A deal first gathers the cards (they fade and pull in), then bumps `generation`, which
// starts every tile's flight at once, and lifts the gather a moment later.
//
// Main thread only. `gatheredChanged` fires when the cards are gathered or released (`animated` says whether
// the gather eases in); `generationChanged` when a deal starts. The timer handlers `deal` and `release` are
// public so that tests can run them; they do what the timers would.
class DealEngine final : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 quietSeconds = 20 * 60;
    static constexpr int arrivalDelayMs = 900;
    static constexpr int gatherMs = 120;
    static constexpr int releaseMs = 20;

    struct Services {
        const DeckSettings& settings;
        const Clock& clock;
        const ReduceMotion& reduceMotion;
    };

    explicit DealEngine(Services services, QObject* parent = nullptr);

    [[nodiscard]] int generation() const { return m_generation; }
    [[nodiscard]] bool isGathered() const { return m_gathered; }
    [[nodiscard]] std::optional<QDateTime> lastSummon() const { return m_lastSummon; }
    [[nodiscard]] bool reducesMotion() const;
    [[nodiscard]] bool isDealPending() const { return m_dealTimer.isActive(); }
    // Gathered, or a deal or its release still to come.
    [[nodiscard]] bool isBusy() const { return m_gathered || isDealPending() || m_releaseTimer.isActive(); }

    // The deck starts: deals after a short while.
    void arrive();
    // The deck was summoned: deals after twenty quiet minutes.
    void summoned();
    // The deck was dismissed: the quiet starts again.
    void dismissed();
    // Shows the deal whatever the preference says (not with reduced motion); `summon` brings the deck
    // forward.
    void preview(const std::function<void()>& summon);

    void deal();
    void release();

Q_SIGNALS:
    void generationChanged(int generation);
    void gatheredChanged(bool gathered, bool animated);
    // The desktop's wish for reduced motion changed while the deck runs.
    void reduceMotionChanged(bool on);

private:
    [[nodiscard]] bool dealsOnSummon() const;
    void gather(bool animated, int dealAfterMs);
    void setGathered(bool gathered, bool animated);

    Services m_services;
    int m_generation = 0;
    bool m_gathered = false;
    std::optional<QDateTime> m_lastSummon;
    QTimer m_dealTimer;
    QTimer m_releaseTimer;
};
