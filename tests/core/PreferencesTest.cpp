#include "core/Preferences.h"

#include "core/CanonicalJson.h"
#include "support/TempHome.h"

#include <QJsonArray>
#include <QJsonObject>

class PreferencesTest : public TempHome {};

TEST_F(PreferencesTest, TypedReadsAnswerNothingForOtherTypes)
{
    writeFile(m_paths.preferencesFile(),
              R"({"b": true, "i": 3, "f": 3.5, "s": "x", "l": ["a", "b"], "mixed": ["a", 1], "huge": 1e12})");
    const Preferences p(m_paths.preferencesFile());
    EXPECT_EQ(p.boolValue(QStringLiteral("b")), true);
    EXPECT_EQ(p.boolValue(QStringLiteral("i")), std::nullopt);
    EXPECT_EQ(p.intValue(QStringLiteral("i")), 3);
    EXPECT_EQ(p.intValue(QStringLiteral("f")), std::nullopt);
    EXPECT_EQ(p.intValue(QStringLiteral("huge")), std::nullopt);
    EXPECT_EQ(p.doubleValue(QStringLiteral("i")), 3.0);
    EXPECT_EQ(p.stringValue(QStringLiteral("b")), std::nullopt);
    EXPECT_EQ(p.stringListValue(QStringLiteral("l")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(p.stringListValue(QStringLiteral("mixed")), std::nullopt);
    EXPECT_EQ(p.stringValue(QStringLiteral("absent")), std::nullopt);
}

TEST_F(PreferencesTest, EveryChangeRewritesTheWholeFileCanonically)
{
    Preferences p(m_paths.preferencesFile());
    QStringList changed;
    QObject::connect(&p, &Preferences::valueChanged, [&](const QString& key) { changed << key; });
    EXPECT_TRUE(p.setValue(QStringLiteral("zeta"), QStringLiteral("a/b")));
    EXPECT_TRUE(p.setValue(QStringLiteral("alpha"), QJsonArray{1, 2}));
    EXPECT_EQ(changed, (QStringList{QStringLiteral("zeta"), QStringLiteral("alpha")}));
    EXPECT_EQ(readFile(m_paths.preferencesFile()),
              "{\n  \"alpha\": [\n    1,\n    2\n  ],\n  \"zeta\": \"a\\/b\"\n}\n");
}

TEST_F(PreferencesTest, AnUnreadableFileIsMovedAsideNotLost)
{
    for (const QByteArray& bad :
         {QByteArray("{\"gridColumns\": 4"), QByteArray("[1, 2]"), QByteArray("\xff\xfe")}) {
        writeFile(m_paths.preferencesFile(), bad);
        Preferences p(m_paths.preferencesFile());
        EXPECT_FALSE(p.contains(QStringLiteral("gridColumns")));
        EXPECT_EQ(readFile(p.unreadableCopyPath()), bad);
        EXPECT_FALSE(exists(m_paths.preferencesFile()));
        ASSERT_TRUE(p.setValue(QStringLiteral("isPinned"), true));
        EXPECT_EQ(readFile(p.unreadableCopyPath()), bad) << "writing again leaves the copy alone";
    }
}

TEST_F(PreferencesTest, AFailedWriteKeepsTheValueInMemory)
{
    writeFile(m_paths.configHome, "a file where the config folder belongs");
    Preferences p(m_paths.preferencesFile());
    EXPECT_FALSE(p.setValue(QStringLiteral("isPinned"), true));
    EXPECT_EQ(p.boolValue(QStringLiteral("isPinned")), true);
}

TEST_F(PreferencesTest, AChangeMadeByHandMeanwhileIsKeptByTheNextWrite)
{
    writeFile(m_paths.preferencesFile(), R"({"isPinned": false, "gridRows": 3, "old": 1})");
    Preferences p(m_paths.preferencesFile());
    writeFile(m_paths.preferencesFile(), R"({"isPinned": true, "gridRows": 4, "chameleonGlass": true})");
    ASSERT_TRUE(p.setValue(QStringLiteral("isPinned"), false));
    EXPECT_EQ(readFile(m_paths.preferencesFile()),
              "{\n  \"chameleonGlass\": true,\n  \"gridRows\": 4,\n  \"isPinned\": false\n}\n")
        << "the deck's own value wins only for the key it sets";

    // A file broken by hand is set aside before the next write, not overwritten.
    writeFile(m_paths.preferencesFile(), R"({"gridRows": )");
    ASSERT_TRUE(p.setValue(QStringLiteral("isPinned"), true));
    EXPECT_EQ(readFile(p.unreadableCopyPath()), R"({"gridRows": )");
    EXPECT_EQ(p.intValue(QStringLiteral("gridRows")), 4);
}
