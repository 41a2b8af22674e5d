#pragma once

#include "model/Models.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Runs `marquetto-icon-import`, the program beside this one that imports pictures, so that the companion
// itself never loads Qt Gui. Its log lines go to this process's standard error.
namespace IconImportHelper {

// The new file's name in `iconsDir`, or nothing when the picture could not be imported or the helper could
// not be run (logged).
[[nodiscard]] std::optional<QString> importImage(const QString& iconsDir, const QString& path);
// Stores the vetted icons of the deck file's bytes in `iconsDir` and answers its pages pointing at them;
// nothing when they are no deck or the helper could not be run (logged).
[[nodiscard]] std::optional<Pages> storeDeckIcons(const QString& iconsDir, const QByteArray& deckFile);

} // namespace IconImportHelper
