#pragma once

#include <QByteArray>
#include <QStringView>
#include <optional>

namespace Base64 {

// The bytes of standard Base64 text with its padding, read in one pass straight from the text's characters;
// nothing when the text is anything else (a character outside the alphabet, a length that is not a multiple
// of four, padding before the end).
[[nodiscard]] std::optional<QByteArray> decode(QStringView text);

} // namespace Base64
