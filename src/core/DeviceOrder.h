#pragma once

#include <QCollator>
#include <algorithm>
#include <vector>

// Orders devices (or albums, or anything else with a name) by name the way the user reads them: localized
// and case-insensitive, keeping the system's order among those whose names compare equal.
template <typename Device>
void sortByName(std::vector<Device>& devices)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(devices.begin(), devices.end(),
                     [&](const Device& a, const Device& b) { return collator.compare(a.name, b.name) < 0; });
}
