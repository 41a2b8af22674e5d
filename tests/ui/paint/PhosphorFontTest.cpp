#include "ui/paint/PhosphorFont.h"

#include "support/TempHome.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

namespace {

class PhosphorFontTest : public TempHome {
protected:
    QString m_mapPath = m_dir.path() + QStringLiteral("/PhosphorFill.json");

    [[nodiscard]] PhosphorFont fontWithMap(const QByteArray& json) const
    {
        writeFile(m_mapPath, json);
        return PhosphorFont(m_dir.path() + QStringLiteral("/absent.ttf"), m_mapPath);
    }
};

TEST_F(PhosphorFontTest, OnlyNamesOfCharactersGiveAGlyph)
{
    PhosphorFont font = fontWithMap(R"({"folder": 57930, "letter": 65, "last": 1114111, "no-break": 65279,
        "beyond": 1114112, "low-surrogate": 55296, "high-surrogate": 57343, "after-surrogates": 57344,
        "negative": -1, "beyond-32-bits": 4294967361})");
    struct Case {
        const char* name;
        QString expected;
    };
    const Case cases[] = {
        {"folder", QString(QChar(0xE24A))},
        {"letter", QStringLiteral("A")},
        {"last", QString::fromUcs4(U"\U0010FFFF", 1)},
        {"after-surrogates", QString(QChar(0xE000))},
        // Not a byte order mark here: a character like any other.
        {"no-break", QString(QChar(0xFEFF))},
        {"beyond", QStringLiteral("?")},
        {"low-surrogate", QStringLiteral("?")},
        {"high-surrogate", QStringLiteral("?")},
        {"negative", QStringLiteral("?")},
        {"beyond-32-bits", QStringLiteral("?")},
        {"unknown", QStringLiteral("?")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(font.glyph(QLatin1String(c.name)), c.expected) << c.name;
}

TEST_F(PhosphorFontTest, AnythingButANameToNumberMapLeavesNoGlyphs)
{
    for (const QByteArray& json :
         {QByteArray(R"({"a": 60000, "b": 1.5})"), QByteArray(R"({"a": "60000"})"), QByteArray("[60000]"),
          QByteArray(R"({"a": 60000)"), QByteArray(), QByteArray(R"({"a": 1e300})")}) {
        PhosphorFont font = fontWithMap(json);
        EXPECT_EQ(font.glyph(QStringLiteral("a")), QStringLiteral("?")) << json.toStdString();
        EXPECT_TRUE(font.names().isEmpty()) << json.toStdString();
    }
    PhosphorFont missing(m_dir.path() + QStringLiteral("/absent.ttf"),
                         m_dir.path() + QStringLiteral("/absent.json"));
    EXPECT_EQ(missing.glyph(QStringLiteral("a")), QStringLiteral("?"));
}

TEST(PhosphorFontBuiltTest, TheBuiltFontDrawsItsGlyphsUnderItsFamilyName)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP))) << "the icon font was not built";
    PhosphorFont font(QStringLiteral(MARQUETTO_PHOSPHOR_FONT), QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP));
    const QString folder = font.glyph(QStringLiteral("folder"));
    ASSERT_NE(folder, QStringLiteral("?"));
    EXPECT_GT(font.names().size(), 1000);

    const QString family = QLatin1String(PhosphorFont::family);
    EXPECT_TRUE(QFontDatabase::families().contains(family));
    const QFont drawn(family, 28);
    EXPECT_EQ(QFontInfo(drawn).family(), family);
    EXPECT_TRUE(QFontMetrics(drawn).inFontUcs4(folder.toUcs4().constFirst()));
}

} // namespace
