#include "CanonicalJson.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringView>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Orders UTF-16 code units so that comparing them gives code point order: surrogates (the characters above
// U+FFFF) move above U+E000…U+FFFF. QString's own ordering compares raw code units.
char16_t codePointOrderKey(char16_t unit) {
    if (unit < 0xD800)
        return unit;
    return unit >= 0xE000 ? static_cast<char16_t>(unit - 0x800) : static_cast<char16_t>(unit + 0x2000);
}

bool lessByCodePoint(const QString& a, const QString& b) {
    return std::lexicographical_compare(a.cbegin(), a.cend(), b.cbegin(), b.cend(), [](QChar x, QChar y) {
        return codePointOrderKey(x.unicode()) < codePointOrderKey(y.unicode());
    });
}

class Writer {
public:
    explicit Writer(CanonicalJson::Style style)
        : m_pretty(style == CanonicalJson::Style::Pretty) {}

    void value(const QJsonValue& v, int depth) {
        switch (v.type()) {
        case QJsonValue::Null:
        case QJsonValue::Undefined:
            m_out += "null";
            break;
        case QJsonValue::Bool:
            m_out += v.toBool() ? "true" : "false";
            break;
        case QJsonValue::Double:
            number(v.toDouble());
            break;
        case QJsonValue::String:
            string(v.toString());
            break;
        case QJsonValue::Array:
            array(v.toArray(), depth);
            break;
        case QJsonValue::Object:
            object(v.toObject(), depth);
            break;
        }
    }

    QByteArray take() { return std::move(m_out); }

private:
    void number(double d) {
        if (!std::isfinite(d)) {
            m_out += "null";
            return;
        }
        m_out += QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    }

    void string(const QString& s) {
        m_out += '"';
        const QByteArray utf8 = s.toUtf8();
        for (const char c : utf8) {
            const auto byte = static_cast<unsigned char>(c);
            switch (c) {
            case '"':
                m_out += "\\\"";
                break;
            case '\\':
                m_out += "\\\\";
                break;
            case '/':
                m_out += "\\/";
                break;
            case '\b':
                m_out += "\\b";
                break;
            case '\f':
                m_out += "\\f";
                break;
            case '\n':
                m_out += "\\n";
                break;
            case '\r':
                m_out += "\\r";
                break;
            case '\t':
                m_out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    static constexpr char hex[] = "0123456789abcdef";
                    m_out += "\\u00";
                    m_out += hex[byte >> 4];
                    m_out += hex[byte & 0xF];
                } else {
                    m_out += c;
                }
            }
        }
        m_out += '"';
    }

    void array(const QJsonArray& a, int depth) {
        if (a.isEmpty()) {
            m_out += "[]";
            return;
        }
        m_out += '[';
        bool first = true;
        for (const QJsonValue& element : a) {
            separator(first, depth + 1);
            value(element, depth + 1);
        }
        close(']', depth);
    }

    void object(const QJsonObject& o, int depth) {
        if (o.isEmpty()) {
            m_out += "{}";
            return;
        }
        std::vector<QString> keys;
        keys.reserve(static_cast<size_t>(o.size()));
        for (auto it = o.begin(); it != o.end(); ++it)
            keys.push_back(it.key());
        std::sort(keys.begin(), keys.end(), lessByCodePoint);

        m_out += '{';
        bool first = true;
        for (const QString& key : keys) {
            separator(first, depth + 1);
            string(key);
            m_out += m_pretty ? ": " : ":";
            value(o.value(key), depth + 1);
        }
        close('}', depth);
    }

    void separator(bool& first, int depth) {
        if (!first)
            m_out += ',';
        first = false;
        newline(depth);
    }

    void close(char bracket, int depth) {
        newline(depth);
        m_out += bracket;
    }

    void newline(int depth) {
        if (!m_pretty)
            return;
        m_out += '\n';
        m_out.append(2 * depth, ' ');
    }

    bool m_pretty = false;
    QByteArray m_out;
};

} // namespace

QByteArray CanonicalJson::write(const QJsonValue& value, Style style) {
    Writer writer(style);
    writer.value(value, 0);
    return writer.take();
}
