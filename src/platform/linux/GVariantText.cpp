#include "platform/linux/GVariantText.h"

namespace GVariantText {

namespace {

// Reads the literal at `at` (single or double quotes, with GLib's escapes) and moves past it.
std::optional<QString> readString(QStringView text, qsizetype& at)
{
    if (at >= text.size() || (text[at] != u'\'' && text[at] != u'"'))
        return std::nullopt;
    const QChar quote = text[at++];
    QString value;
    while (at < text.size()) {
        const QChar c = text[at++];
        if (c == quote)
            return value;
        if (c != u'\\') {
            value += c;
            continue;
        }
        if (at >= text.size())
            return std::nullopt;
        const QChar escaped = text[at++];
        const int digits = escaped == u'u' ? 4 : escaped == u'U' ? 8 : 0;
        if (digits > 0) {
            bool ok = false;
            const uint code = text.mid(at, digits).toUInt(&ok, 16);
            if (!ok || text.mid(at, digits).size() != digits || code > 0x10FFFF)
                return std::nullopt;
            const char32_t point = code;
            value += QString::fromUcs4(&point, 1);
            at += digits;
            continue;
        }
        static const QString from = QStringLiteral("ntrbfv");
        static const QString to = QStringLiteral("\n\t\r\b\f\v");
        const qsizetype known = from.indexOf(escaped);
        value += known >= 0 ? to[known] : escaped;
    }
    return std::nullopt;
}

void skipSpace(QStringView text, qsizetype& at)
{
    while (at < text.size() && text[at].isSpace())
        ++at;
}

} // namespace

QString quoted(const QString& text)
{
    QString literal = QStringLiteral("'");
    for (const QChar c : text) {
        if (c == u'\\' || c == u'\'')
            literal += u'\\';
        if (c == u'\n')
            literal += QStringLiteral("\\n");
        else
            literal += c;
    }
    return literal + u'\'';
}

QString quotedArray(const QStringList& items)
{
    QStringList literals;
    for (const QString& item : items)
        literals << quoted(item);
    return u'[' + literals.join(QStringLiteral(", ")) + u']';
}

std::optional<QString> parseString(QStringView text)
{
    text = text.trimmed();
    qsizetype at = 0;
    auto value = readString(text, at);
    return value && at == text.size() ? value : std::nullopt;
}

std::optional<QStringList> parseStringArray(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u"@as"))
        text = text.mid(3).trimmed();
    if (!text.startsWith(u'[') || !text.endsWith(u']'))
        return std::nullopt;
    text = text.mid(1, text.size() - 2).trimmed();
    QStringList items;
    qsizetype at = 0;
    while (at < text.size()) {
        auto item = readString(text, at);
        if (!item)
            return std::nullopt;
        items << *item;
        skipSpace(text, at);
        if (at == text.size())
            break;
        if (text[at] != u',')
            return std::nullopt;
        ++at;
        skipSpace(text, at);
        if (at == text.size())
            return std::nullopt;
    }
    return items;
}

} // namespace GVariantText
