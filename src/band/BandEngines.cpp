#include "band/BandEngines.h"

#include "band/BandCatalogue.h"

#include <utility>

BandEngines::BandEngines(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_sources(m_services)
{
    const auto changed = [this] { Q_EMIT this->changed(); };
    connect(&m_sources.fast, &VitalsFastEngine::cpuChanged, this, changed);
    connect(&m_sources.fast, &VitalsFastEngine::memoryChanged, this, changed);
    connect(&m_sources.fast, &VitalsFastEngine::netDownChanged, this, changed);
    connect(&m_sources.fast, &VitalsFastEngine::netUpChanged, this, changed);
    connect(&m_sources.slow, &VitalsSlowEngine::batteryChanged, this, changed);
    connect(&m_sources.slow, &VitalsSlowEngine::wifiChanged, this, changed);
    connect(&m_sources.slow, &VitalsSlowEngine::driveFreeChanged, this, changed);
    connect(&m_sources.slow, &VitalsSlowEngine::trashCountChanged, this, changed);
    connect(&m_sources.slow, &VitalsSlowEngine::localIPChanged, this, changed);
    connect(&m_sources.clock, &BandClock::nowChanged, this, changed);
    const BandModuleContext context{m_services,
                                    m_sources,
                                    *this,
                                    changed,
                                    [this] { Q_EMIT customizeRequested(); },
                                    [this] { Q_EMIT focusSetupRequested(); }};
    for (const BandModule module : BandCatalogue::allCases())
        m_kinds.at(static_cast<size_t>(module)) = BandCatalogue::make(module, context);
}

BandModuleKind& BandEngines::kind(BandModule module) const
{
    return *m_kinds.at(static_cast<size_t>(module));
}

void BandEngines::show(const QList<BandModule>& visible)
{
    m_visible = visible;
    follow(visible, false);
    if (!m_readersHeld)
        follow(visible, true);
}

void BandEngines::hide()
{
    show({});
}

void BandEngines::holdReaders()
{
    m_readersHeld = true;
}

void BandEngines::releaseReaders()
{
    if (std::exchange(m_readersHeld, false))
        follow(m_visible, true);
}

void BandEngines::follow(const QList<BandModule>& visible, bool readers)
{
    for (const bool coming : {true, false}) {
        for (const std::unique_ptr<BandModuleKind>& kind : m_kinds) {
            bool& shown = m_shown.at(static_cast<size_t>(kind->module()));
            if (kind->reads() == readers && visible.contains(kind->module()) == coming && shown != coming) {
                shown = coming;
                kind->setShown(coming);
            }
        }
    }
}
