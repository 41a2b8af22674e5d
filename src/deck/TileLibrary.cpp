#include "deck/TileLibrary.h"

#include <QStandardPaths>

const QStringList& TileLibrary::categories()
{
    static const QStringList names{QStringLiteral("Essentials"), QStringLiteral("Quick Actions"),
                                   QStringLiteral("Utilities")};
    return names;
}

QString TileLibrary::needsText(const QString& program)
{
    return QStringLiteral("Needs ") + program;
}

TileLibrary::TileLibrary(Catalogue catalogue, ProgramLookup findProgram)
    : m_catalogue(std::move(catalogue))
    , m_findProgram(findProgram ? std::move(findProgram) : [](const QString& program) {
        return QStandardPaths::findExecutable(program);
    })
{
}

const std::vector<TilePreset>& TileLibrary::presets() const
{
    if (!m_presets)
        m_presets = m_catalogue();
    return *m_presets;
}

std::vector<TilePreset> TileLibrary::presets(const QString& category) const
{
    std::vector<TilePreset> inCategory;
    for (const TilePreset& preset : presets()) {
        if (preset.category == category)
            inCategory.push_back(preset);
    }
    return inCategory;
}

std::optional<QString> TileLibrary::missingProgram(const TilePreset& preset) const
{
    for (const QString& program : preset.requiredProgram.split(u' ', Qt::SkipEmptyParts)) {
        if (m_findProgram(program).isEmpty())
            return program;
    }
    return std::nullopt;
}
