#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The text form of GLib's variants that `gsettings` prints and reads, for strings and string arrays.
namespace GVariantText {

// A string literal that reads back as `text` exactly.
[[nodiscard]] QString quoted(const QString& text);
[[nodiscard]] QString quotedArray(const QStringList& items);

// What `gsettings get` printed for a string or an array of strings (`@as []` included); nothing when the
// text is anything else.
[[nodiscard]] std::optional<QString> parseString(QStringView text);
[[nodiscard]] std::optional<QStringList> parseStringArray(QStringView text);

} // namespace GVariantText
