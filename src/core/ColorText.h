#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The colour texts of tile icons: "#" and six hexadecimal digits, red, green and blue.
namespace ColorText {

// "#ff8800", " #FF8800 " and "FF8800" all read as 0xFF8800; anything else ("#FFF", "orange") as nothing.
[[nodiscard]] std::optional<quint32> rgb(QStringView text);
// "#FF8800": upper-case digits.
[[nodiscard]] QString text(quint32 rgb);

} // namespace ColorText
