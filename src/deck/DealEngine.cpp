#include "deck/DealEngine.h"

#include "core/Clock.h"
#include "model/Settings.h"
#include "platform/ReduceMotion.h"

DealEngine::DealEngine(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
    m_dealTimer.setSingleShot(true);
    connect(&m_dealTimer, &QTimer::timeout, this, &DealEngine::deal);
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(releaseMs);
    connect(&m_releaseTimer, &QTimer::timeout, this, &DealEngine::release);
    connect(&m_services.reduceMotion, &ReduceMotion::changed, this, [this](bool on) {
        // A deal already on its way is called off: the cards show at rest at once.
        if (on) {
            m_dealTimer.stop();
            release();
        }
        Q_EMIT reduceMotionChanged(on);
    });
}

bool DealEngine::reducesMotion() const
{
    return m_services.reduceMotion.isOn();
}

bool DealEngine::dealsOnSummon() const
{
    return m_services.settings.dealAnimation() && !reducesMotion();
}

void DealEngine::arrive()
{
    m_lastSummon = m_services.clock.now();
    if (dealsOnSummon())
        gather(false, arrivalDelayMs);
}

void DealEngine::summoned()
{
    const QDateTime now = m_services.clock.now();
    const bool quiet = !m_lastSummon || m_lastSummon->secsTo(now) >= quietSeconds;
    m_lastSummon = now;
    if (quiet && dealsOnSummon())
        gather(true, gatherMs);
}

void DealEngine::dismissed()
{
    m_lastSummon = m_services.clock.now();
}

void DealEngine::preview(const std::function<void()>& summon)
{
    m_lastSummon = m_services.clock.now();
    summon();
    if (!reducesMotion())
        gather(true, gatherMs);
}

void DealEngine::gather(bool animated, int dealAfterMs)
{
    m_releaseTimer.stop();
    setGathered(true, animated);
    m_dealTimer.start(dealAfterMs);
}

void DealEngine::deal()
{
    m_dealTimer.stop();
    ++m_generation;
    Q_EMIT generationChanged(m_generation);
    m_releaseTimer.start();
}

void DealEngine::release()
{
    m_releaseTimer.stop();
    setGathered(false, false);
}

void DealEngine::setGathered(bool gathered, bool animated)
{
    if (gathered == m_gathered)
        return;
    m_gathered = gathered;
    Q_EMIT gatheredChanged(gathered, animated);
}
