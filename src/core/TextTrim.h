#pragma once

#include <QStringList>
#include <QStringView>

// The text without the spaces and tabs at either end; other white space is part of the text.
[[nodiscard]] inline QStringView trimSpacesAndTabs(QStringView text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// The lines of the text (split at line feeds), each trimmed of spaces and tabs; blank ones left out.
[[nodiscard]] inline QStringList nonBlankLines(const QString& text)
{
    QStringList lines;
    for (const QStringView line : QStringView(text).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringView trimmed = trimSpacesAndTabs(line);
        if (!trimmed.isEmpty())
            lines << trimmed.toString();
    }
    return lines;
}
