#include "deck/PickerSearch.h"

namespace {

QStringList containing(const QStringList& names, const QString& query)
{
    if (query.isEmpty())
        return names;
    QStringList found;
    for (const QString& name : names) {
        if (name.contains(query))
            found.append(name);
    }
    return found;
}

} // namespace

QStringList PickerSearch::symbols(const QStringList& available, const QString& text)
{
    return containing(available, text.trimmed().toLower());
}

QStringList PickerSearch::glyphs(const QStringList& sortedNames, const QString& text)
{
    return containing(sortedNames, text.trimmed().toLower().replace(u' ', u'-'));
}
