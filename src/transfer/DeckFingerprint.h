#pragma once

#include "model/Models.h"

#include <QString>

// What identifies a deck for cloud sync: the SHA-256 of its pages and grid in the deck file's canonical JSON,
// as 64 lower-case hexadecimal digits. Custom icon bytes are not part of it; icon file names are.
namespace DeckFingerprint {

[[nodiscard]] QString of(const Pages& pages, int columns, int rows);

} // namespace DeckFingerprint
