#include "CanonicalJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Orders UTF-16 code units so that comparing them gives code point order: surrogates (the characters above
// U+FFFF) move above U+E000…U+FFFF. QString's own ordering compares raw code units.
char16_t codePointOrderKey(char16_t unit)
{
    if (unit < 0xD800)
        return unit;
    return unit >= 0xE000 ? static_cast<char16_t>(unit - 0x800) : static_cast<char16_t>(unit + 0x2000);
}

} // namespace

namespace CanonicalJson {

bool lessByCodePoint(QStringView a, QStringView b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](QChar x, QChar y) {
        return codePointOrderKey(x.unicode()) < codePointOrderKey(y.unicode());
    });
}

Writer::Writer(Style style)
    : m_pretty(style == Style::Pretty)
{
}

QByteArray Writer::take()
{
    Q_ASSERT_X(m_levels.empty(), "CanonicalJson::Writer", "unclosed object or array");
    return std::move(m_out);
}

void Writer::newline(size_t depth)
{
    if (!m_pretty)
        return;
    m_out += '\n';
    m_out.append(static_cast<qsizetype>(2 * depth), ' ');
}

// Places the separator and line break that come before an array element; members got theirs from `key`.
void Writer::beginValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty())
        return;
    Level& level = m_levels.back();
    Q_ASSERT_X(!level.isObject, "CanonicalJson::Writer", "object member without a key");
    if (level.count++ > 0)
        m_out += ',';
    newline(m_levels.size());
}

void Writer::key(QStringView key)
{
    Q_ASSERT_X(!m_levels.empty() && m_levels.back().isObject && !m_afterKey, "CanonicalJson::Writer",
               "key outside an object");
    Level& level = m_levels.back();
    Q_ASSERT_X(level.count == 0 || lessByCodePoint(level.lastKey, key), "CanonicalJson::Writer",
               "object members out of order");
    level.lastKey.resize(0);
    level.lastKey.append(key);
    if (level.count++ > 0)
        m_out += ',';
    newline(m_levels.size());
    quoted(key);
    m_out += m_pretty ? ": " : ":";
    m_afterKey = true;
}

void Writer::begin(char bracket, bool isObject)
{
    beginValue();
    m_out += bracket;
    m_levels.push_back(Level{isObject, 0, {}});
}

void Writer::end(char bracket)
{
    const bool empty = m_levels.back().count == 0;
    m_levels.pop_back();
    if (!empty)
        newline(m_levels.size());
    m_out += bracket;
}

void Writer::beginObject()
{
    begin('{', true);
}

void Writer::endObject()
{
    end('}');
}

void Writer::beginArray()
{
    begin('[', false);
}

void Writer::endArray()
{
    end(']');
}

void Writer::string(QStringView text)
{
    beginValue();
    quoted(text);
}

void Writer::base64(const QByteArray& bytes)
{
    beginValue();
    // Of the Base64 alphabet only the slash is escaped: the rest goes straight from the encoded bytes.
    const QByteArray text = bytes.toBase64();
    m_out.reserve(m_out.size() + text.size() + text.size() / 32 + 2);
    m_out += '"';
    const char* at = text.constData();
    const char* const end = at + text.size();
    while (const auto* slash =
               static_cast<const char*>(std::memchr(at, '/', static_cast<size_t>(end - at)))) {
        m_out.append(at, slash - at);
        m_out.append("\\/", 2);
        at = slash + 1;
    }
    m_out.append(at, end - at);
    m_out += '"';
}

void Writer::boolean(bool value)
{
    beginValue();
    m_out += value ? "true" : "false";
}

void Writer::number(double value)
{
    beginValue();
    if (std::isfinite(value))
        m_out += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
    else
        m_out += "null";
}

void Writer::integer(qint64 value)
{
    beginValue();
    m_out += QByteArray::number(value);
}

void Writer::null()
{
    beginValue();
    m_out += "null";
}

void Writer::quoted(QStringView text)
{
    static constexpr char hex[] = "0123456789abcdef";
    m_out += '"';
    const auto plain = [](char16_t c) {
        return c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\' && c != u'/';
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (plain(c)) {
            // A run of characters written as they are, copied at once: a picture's Base64 is mostly that.
            qsizetype end = i + 1;
            while (end < text.size() && plain(text[end].unicode()))
                ++end;
            const qsizetype at = m_out.size();
            m_out.resize(at + end - i);
            char* out = m_out.data() + at;
            for (qsizetype k = i; k < end; ++k)
                *out++ = static_cast<char>(text[k].unicode());
            i = end - 1;
            continue;
        }
        if (c >= 0x80) {
            qsizetype end = i + 1;
            while (end < text.size() && text[end].unicode() >= 0x80)
                ++end;
            m_out += text.mid(i, end - i).toUtf8();
            i = end - 1;
            continue;
        }
        switch (c) {
        case u'"':
            m_out += "\\\"";
            break;
        case u'\\':
            m_out += "\\\\";
            break;
        case u'/':
            m_out += "\\/";
            break;
        case u'\b':
            m_out += "\\b";
            break;
        case u'\f':
            m_out += "\\f";
            break;
        case u'\n':
            m_out += "\\n";
            break;
        case u'\r':
            m_out += "\\r";
            break;
        case u'\t':
            m_out += "\\t";
            break;
        default:
            // The other control characters: everything else was written above.
            m_out += "\\u00";
            m_out += hex[c >> 4];
            m_out += hex[c & 0xF];
        }
    }
    m_out += '"';
}

void Writer::value(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Null:
    case QJsonValue::Undefined:
        null();
        return;
    case QJsonValue::Bool:
        boolean(v.toBool());
        return;
    case QJsonValue::Double:
        // Qt holds a whole number read from a file exactly, beyond the 53 bits of a double: it is written
        // back as it was read, so that rewriting a file never alters a value the deck does not own.
        if (const QVariant whole = v.toVariant(); whole.typeId() == QMetaType::LongLong)
            integer(whole.toLongLong());
        else
            number(v.toDouble());
        return;
    case QJsonValue::String:
        string(v.toString());
        return;
    case QJsonValue::Array:
        beginArray();
        for (const QJsonValue& element : v.toArray())
            value(element);
        endArray();
        return;
    case QJsonValue::Object:
        break;
    }
    // QJsonObject keeps its keys in UTF-16 order, which is code point order unless a key holds characters
    // above U+FFFF; only then do the members need sorting.
    const QJsonObject object = v.toObject();
    std::vector<std::pair<QString, QJsonValue>> members;
    members.reserve(static_cast<size_t>(object.size()));
    for (auto it = object.begin(); it != object.end(); ++it)
        members.emplace_back(it.key(), it.value());
    const auto byKey = [](const auto& a, const auto& b) { return lessByCodePoint(a.first, b.first); };
    if (!std::is_sorted(members.begin(), members.end(), byKey))
        std::sort(members.begin(), members.end(), byKey);
    beginObject();
    for (const auto& [memberKey, member] : members) {
        key(memberKey);
        value(member);
    }
    endObject();
}

QByteArray write(const QJsonValue& value, Style style)
{
    Writer writer(style);
    writer.value(value);
    return writer.take();
}

QByteArray withPlainSlashes(const QByteArray& json)
{
    if (!json.contains("\\/"))
        return json;
    QByteArray plain;
    plain.reserve(json.size());
    const char* at = json.constData();
    const char* const end = at + json.size();
    while (at < end) {
        const auto* escape = static_cast<const char*>(std::memchr(at, '\\', static_cast<size_t>(end - at)));
        if (!escape) {
            plain.append(at, end - at);
            break;
        }
        plain.append(at, escape - at);
        // An escape is the backslash and the character after it, so "\\/" stays an escaped backslash
        // followed by a slash.
        const qsizetype length = std::min<qsizetype>(2, end - escape);
        if (length == 2 && escape[1] == '/')
            plain.append('/');
        else
            plain.append(escape, length);
        at = escape + length;
    }
    return plain;
}

} // namespace CanonicalJson
