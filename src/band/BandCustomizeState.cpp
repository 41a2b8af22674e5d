#include "band/BandCustomizeState.h"

#include "band/BandCatalogue.h"
#include "band/BandLayout.h"

#include <utility>

namespace {

QString widthText(BandModule module)
{
    return QStringLiteral("%1u").arg(BandCatalogue::minUnits(module));
}

} // namespace

BandCustomizeState::BandCustomizeState(QList<BandModule> modules, int capacity)
    : m_modules(std::move(modules))
    , m_capacity(capacity)
    , m_used(BandLayout::usedUnits(m_modules))
{
}

QString BandCustomizeState::capacityText() const
{
    return QStringLiteral("%1 of %2 units").arg(m_used).arg(m_capacity);
}

std::vector<BandCustomizeState::OnBandRow> BandCustomizeState::onBandRows() const
{
    std::vector<OnBandRow> rows;
    rows.reserve(static_cast<size_t>(m_modules.size()));
    for (qsizetype i = 0; i < m_modules.size(); ++i) {
        const BandModule module = m_modules[i];
        rows.push_back({module, BandCatalogue::symbol(module), title(module), widthText(module), i > 0,
                        i + 1 < m_modules.size()});
    }
    return rows;
}

std::vector<BandCustomizeState::AvailableRow> BandCustomizeState::availableRows() const
{
    std::vector<AvailableRow> rows;
    for (const BandModule module : BandCatalogue::allCases()) {
        if (m_modules.contains(module))
            continue;
        AvailableRow row;
        row.module = module;
        row.symbol = BandCatalogue::symbol(module);
        row.title = title(module);
        row.width = widthText(module);
        row.deficit = m_used + BandCatalogue::minUnits(module) - m_capacity;
        if (row.deficit >= 1) {
            row.freeUp = QStringLiteral("free up %1u").arg(row.deficit);
            row.help = QStringLiteral("The band is full — remove %1 unit%2 of controls to fit %3.")
                           .arg(row.deficit)
                           .arg(row.deficit == 1 ? QString() : QStringLiteral("s"), row.title);
        } else {
            row.deficit = 0;
            row.help = QStringLiteral("Add %1 to the band").arg(row.title);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

QList<BandModule> BandCustomizeState::swapped(qsizetype index, qsizetype other) const
{
    QList<BandModule> modules = m_modules;
    if (index >= 0 && other >= 0 && index < modules.size() && other < modules.size())
        modules.swapItemsAt(index, other);
    return modules;
}

QList<BandModule> BandCustomizeState::movedUp(qsizetype index) const
{
    return swapped(index, index - 1);
}

QList<BandModule> BandCustomizeState::movedDown(qsizetype index) const
{
    return swapped(index, index + 1);
}

QList<BandModule> BandCustomizeState::removed(qsizetype index) const
{
    QList<BandModule> modules = m_modules;
    if (index >= 0 && index < modules.size())
        modules.removeAt(index);
    return modules;
}

QList<BandModule> BandCustomizeState::added(BandModule module) const
{
    QList<BandModule> modules = m_modules;
    if (!modules.contains(module) && m_used + BandCatalogue::minUnits(module) <= m_capacity)
        modules << module;
    return modules;
}

QString BandCustomizeState::timeZoneTitle(const QString& identifier)
{
    return identifier.section(u'/', -1).replace(u'_', u' ');
}
