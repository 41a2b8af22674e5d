#include "core/CanonicalJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QByteArray compact(const QJsonValue& value)
{
    return CanonicalJson::write(value);
}

} // namespace

TEST(CanonicalJson, SortsKeysByCodePointAtEveryLevel)
{
    const QJsonObject inner{{QStringLiteral("b"), 1}, {QStringLiteral("B"), 2}, {QStringLiteral("a"), 3}};
    const QJsonObject outer{{QStringLiteral("z"), inner}, {QStringLiteral("id"), QJsonArray{inner}}};
    EXPECT_EQ(compact(outer), R"({"id":[{"B":2,"a":3,"b":1}],"z":{"B":2,"a":3,"b":1}})");

    // U+1F600 is one code point above U+FFFD although its first UTF-16 unit is below it.
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const QString replacement = QString::fromUcs4(U"\uFFFD");
    const QJsonObject astral{{emoji, 1}, {replacement, 2}};
    EXPECT_EQ(compact(astral),
              QByteArray("{\"") + replacement.toUtf8() + "\":2,\"" + emoji.toUtf8() + "\":1}");
}

TEST(CanonicalJson, EscapesSlashesAndControlCharactersButKeepsUnicode)
{
    const QString text = QStringLiteral("/Applications/Caf\u00e9.app \"q\" \\ \n\t\r\b\f") + QChar(0x01) +
                         QChar(0x1f) + QChar(0x7f);
    EXPECT_EQ(compact(text),
              QByteArray(R"("\/Applications\/Café.app \"q\" \\ \n\t\r\b\f\u0001\u001f)") + '\x7f' + '"');
}

TEST(CanonicalJson, PrettyFormIndentsByTwoSpaces)
{
    const QJsonObject value{
        {QStringLiteral("pages"), QJsonArray{QJsonArray{}, QJsonObject{{QStringLiteral("a"), 1}}}},
        {QStringLiteral("empty"), QJsonObject{}}};
    EXPECT_EQ(CanonicalJson::write(value, CanonicalJson::Style::Pretty), "{\n"
                                                                         "  \"empty\": {},\n"
                                                                         "  \"pages\": [\n"
                                                                         "    [],\n"
                                                                         "    {\n"
                                                                         "      \"a\": 1\n"
                                                                         "    }\n"
                                                                         "  ]\n"
                                                                         "}");
}

TEST(CanonicalJson, OutputReadsBackAsTheSameValue)
{
    const QJsonObject value{{QStringLiteral("path"), QStringLiteral("/a/b \u2014 \U0001F600")},
                            {QStringLiteral("n"), 42},
                            {QStringLiteral("list"), QJsonArray{QStringLiteral("x"), 1.25, QJsonObject{}}}};
    for (const auto style : {CanonicalJson::Style::Compact, CanonicalJson::Style::Pretty}) {
        const QJsonDocument back = QJsonDocument::fromJson(CanonicalJson::write(value, style));
        EXPECT_EQ(back.object(), value);
    }
    // Whole numbers beyond a double's 53 bits, as a hand-edited preferences file may hold them.
    const QByteArray large = R"({"big":222222222222222222,"small":-9007199254740993})";
    EXPECT_EQ(CanonicalJson::write(QJsonDocument::fromJson(large).object(), CanonicalJson::Style::Compact),
              large);
}

TEST(CanonicalJson, PlainSlashesMeanWhatTheEscapedOnesMeant)
{
    const struct {
        QByteArray json, plain;
    } cases[] = {
        {R"(["a\/b"])", R"(["a/b"])"},
        // An escaped backslash before a slash, one before an escaped slash, and an escaped character code.
        {R"(["a\\/b"])", R"(["a\\/b"])"},
        {R"(["\\\/"])", R"(["\\/"])"},
        {R"(["\u002F\/\n"])", R"(["\u002F/\n"])"},
        // Broken text stays as broken, to its last lone backslash.
        {R"(["\/)"
         "\\",
         R"(["/)"
         "\\"},
    };
    for (const auto& c : cases) {
        const QByteArray plain = CanonicalJson::withPlainSlashes(c.json);
        EXPECT_EQ(plain, c.plain) << c.json.constData();
        EXPECT_EQ(QJsonDocument::fromJson(plain), QJsonDocument::fromJson(c.json)) << c.json.constData();
    }
    const QByteArray untouched = R"({"a":"b\\c"})";
    EXPECT_EQ(CanonicalJson::withPlainSlashes(untouched).constData(), untouched.constData());
}

TEST(CanonicalJson, BytesAreWrittenAsTheStringOfTheirBase64)
{
    // Bytes whose Base64 holds slashes, pluses and padding.
    const QByteArray bytes("\xff\xff\xfe\xfb\xef\x00\x01", 7);
    CanonicalJson::Writer asBytes;
    CanonicalJson::Writer asText;
    asBytes.beginArray();
    asText.beginArray();
    asBytes.base64(bytes);
    asText.string(QString::fromLatin1(bytes.toBase64()));
    asBytes.endArray();
    asText.endArray();
    EXPECT_EQ(asBytes.take(), asText.take());
}
