#pragma once

#include <QString>
#include <QStringList>

// What the symbol and glyph pickers list for a search text.
namespace PickerSearch {

// The symbols of `available` (kept in their order) that contain the search text, trimmed and lower-cased;
// all of them when nothing is left of it.
[[nodiscard]] QStringList symbols(const QStringList& available, const QString& text);

// The glyph names of `sortedNames` (kept in their order) that contain the search text, trimmed, lower-cased
// and with every space written as "-", the way glyph names spell their words; all of them when nothing is
// left of it.
[[nodiscard]] QStringList glyphs(const QStringList& sortedNames, const QString& text);

} // namespace PickerSearch
