#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QStringView>
#include <vector>

// The one JSON writer of the program. Every file and every fingerprint is written through it so that equal
// values always produce equal bytes: object keys sorted by code point at every level, every "/" written as
// "\/", non-ASCII text as plain UTF-8 and control characters escaped.
namespace CanonicalJson {

enum class Style {
    Compact,
    Pretty, // two-space indentation, one member or element per line
};

// Writes JSON as it is produced, without building a tree first. Object members must be given in code point
// order of their keys (checked in debug builds); `value` sorts the members of the objects it is given.
class Writer {
public:
    explicit Writer(Style style = Style::Compact);

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(QStringView key);

    void string(QStringView text);
    // The bytes as a string of their standard Base64, written as `string` would write that text.
    void base64(const QByteArray& bytes);
    void boolean(bool value);
    void number(double value);
    void integer(qint64 value);
    void null();
    void value(const QJsonValue& value);

    [[nodiscard]] QByteArray take();

private:
    struct Level {
        bool isObject = false;
        int count = 0;
        QString lastKey; // reused for every member, so it rarely allocates
    };

    void beginValue();
    void begin(char bracket, bool isObject);
    void end(char bracket);
    void newline(size_t depth);
    void quoted(QStringView text);

    bool m_pretty = false;
    bool m_afterKey = false;
    std::vector<Level> m_levels;
    QByteArray m_out;
};

[[nodiscard]] QByteArray write(const QJsonValue& value, Style style = Style::Compact);

// Whether `a` comes before `b` in code point order, the order of keys in every object written.
[[nodiscard]] bool lessByCodePoint(QStringView a, QStringView b);

// The same JSON text with each escaped slash, "\/", as a plain "/", which means the same. The writer escapes
// every slash, as the files of other machines do, and Qt's parser takes a string with an escape in it one
// character at a time: a deck file's pictures, a slash every 64 characters, parse four times faster without.
// The bytes themselves, uncopied, when they hold no escaped slash.
[[nodiscard]] QByteArray withPlainSlashes(const QByteArray& json);

} // namespace CanonicalJson
