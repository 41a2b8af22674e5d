#pragma once

#include "model/TilePreset.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The tile library: this platform's fixed catalogue of ready-made tiles in three categories. The catalogue is
// made on first use and then kept; whether a preset's programs are installed is asked anew on every call, so
// a program installed meanwhile counts at once.
//
// Main thread only.
class TileLibrary final {
public:
    // Makes the catalogue, in catalogue order.
    using Catalogue = std::function<std::vector<TilePreset>()>;
    // The full path of the installed program of that name, or an empty text when there is none.
    using ProgramLookup = std::function<QString(const QString& program)>;

    // The categories in display order. A constant: a category no preset carries is still listed.
    [[nodiscard]] static const QStringList& categories();
    // What a preset whose program is missing says instead of offering itself plainly: "Needs PROGRAM".
    [[nodiscard]] static QString needsText(const QString& program);

    // `findProgram` searches PATH when not given.
    explicit TileLibrary(Catalogue catalogue, ProgramLookup findProgram = {});

    // The whole catalogue, in catalogue order.
    [[nodiscard]] const std::vector<TilePreset>& presets() const;
    // The presets of `category`, in catalogue order; none for a category no preset carries.
    [[nodiscard]] std::vector<TilePreset> presets(const QString& category) const;
    // The first of the preset's required programs (`requiredProgram`, separated by spaces) this machine
    // lacks, or nothing when it has them all.
    [[nodiscard]] std::optional<QString> missingProgram(const TilePreset& preset) const;

private:
    Catalogue m_catalogue;
    ProgramLookup m_findProgram;
    mutable std::optional<std::vector<TilePreset>> m_presets;
};
