#pragma once

#include <QChar>
#include <QString>

// The text of one Unicode character, `codePoint` being one (not a surrogate, at most U+10FFFF). Unlike
// `QString::fromUcs4`, which takes a leading U+FEFF for a byte order mark and drops it, every character
// counts.
[[nodiscard]] inline QString characterText(char32_t codePoint)
{
    if (QChar::requiresSurrogates(codePoint)) {
        const QChar pair[] = {QChar(QChar::highSurrogate(codePoint)), QChar(QChar::lowSurrogate(codePoint))};
        return QString(pair, 2);
    }
    return QString(QChar(static_cast<char16_t>(codePoint)));
}
