#pragma once

#include <QByteArray>
#include <QJsonValue>

// The one JSON writer of the program. Every file and every fingerprint is written through it so that equal
// values always produce equal bytes: object keys sorted by code point at every level, every "/" written as
// "\/", non-ASCII text as plain UTF-8 and control characters escaped.
namespace CanonicalJson {

enum class Style {
    Compact,
    Pretty, // two-space indentation, one member or element per line
};

[[nodiscard]] QByteArray write(const QJsonValue& value, Style style = Style::Compact);

} // namespace CanonicalJson
