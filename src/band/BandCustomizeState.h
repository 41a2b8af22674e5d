#pragma once

#include "model/BandModule.h"

#include <QList>
#include <QString>
#include <vector>

// What the "Customize Band" window shows for a list of band modules and a band of `capacity` units: the
// capacity row, the rows of "On the Band" and "Available" with their texts, and the lists its buttons make.
// A value: the window builds it again whenever `bandModules` or the grid changes, and writes each edited list
// back to `bandModules` at once.
class BandCustomizeState final {
public:
    inline static const QString nothingOnTheBand = QStringLiteral("Nothing yet — add controls below.");
    inline static const QString nothingAvailable = QStringLiteral("Everything's on the band.");

    struct OnBandRow {
        BandModule module = BandModule::micMute;
        QString symbol;
        QString title;
        // The minimum width, such as "2u".
        QString width;
        bool canMoveUp = false;
        bool canMoveDown = false;
    };

    struct AvailableRow {
        BandModule module = BandModule::micMute;
        QString symbol;
        QString title;
        QString width;
        // The units that would have to be freed first: 0 when the module fits.
        int deficit = 0;
        // "free up 2u" while the module does not fit, else empty.
        QString freeUp;
        // The add button's help text.
        QString help;
        [[nodiscard]] bool canAdd() const { return deficit < 1; }
    };

    BandCustomizeState(QList<BandModule> modules, int capacity);

    // The minimum widths of every module on the list, shown or not.
    [[nodiscard]] int used() const { return m_used; }
    [[nodiscard]] int capacity() const { return m_capacity; }
    // The capacity row turns red then.
    [[nodiscard]] bool isOverCapacity() const { return m_used > m_capacity; }
    // "5 of 8 units".
    [[nodiscard]] QString capacityText() const;

    [[nodiscard]] std::vector<OnBandRow> onBandRows() const;
    // The modules not on the list, in catalogue order.
    [[nodiscard]] std::vector<AvailableRow> availableRows() const;
    // The window's "World Clock" and "Countdown" sections show only while their module is on the list.
    [[nodiscard]] bool showsWorldClock() const { return m_modules.contains(BandModule::worldClock); }
    [[nodiscard]] bool showsCountdown() const { return m_modules.contains(BandModule::countdown); }
    [[nodiscard]] bool showsWeather() const { return m_modules.contains(BandModule::weather); }

    // The list after a button of row `index` of "On the Band"; the list as it is for a move past either end
    // or an index out of range.
    [[nodiscard]] QList<BandModule> movedUp(qsizetype index) const;
    [[nodiscard]] QList<BandModule> movedDown(qsizetype index) const;
    [[nodiscard]] QList<BandModule> removed(qsizetype index) const;
    // The list with the module appended, when it is available and fits; else the list as it is.
    [[nodiscard]] QList<BandModule> added(BandModule module) const;

    // How the time-zone picker names a zone: "America/New_York" reads "New York", "UTC" stays "UTC".
    [[nodiscard]] static QString timeZoneTitle(const QString& identifier);

private:
    [[nodiscard]] QList<BandModule> swapped(qsizetype index, qsizetype other) const;

    QList<BandModule> m_modules;
    int m_capacity = 0;
    int m_used = 0;
};
