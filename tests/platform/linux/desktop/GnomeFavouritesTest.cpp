#include "platform/linux/desktop/GnomeFavourites.h"

#include "support/TempHome.h"

#include <QFile>

namespace {

using namespace std::chrono_literals;

TEST(GnomeFavouritesParse, ReadsWhatGsettingsPrints)
{
    struct Case {
        const char* text;
        QStringList expected;
    };
    const Case cases[] = {
        {"['org.gnome.Nautilus.desktop', 'firefox.desktop']\n",
         {QStringLiteral("org.gnome.Nautilus.desktop"), QStringLiteral("firefox.desktop")}},
        {"@as []\n", {}},
        {"[]", {}},
        {"@as ['a.desktop']", {QStringLiteral("a.desktop")}},
        {"  [ 'a.desktop' ,\t\"b.desktop\" ]  ", {QStringLiteral("a.desktop"), QStringLiteral("b.desktop")}},
        {"[\"it's.desktop\"]", {QStringLiteral("it's.desktop")}},
        {"['it\\'s \\\"x\\\".desktop']", {QStringLiteral("it's \"x\".desktop")}},
        {"['back\\\\slash', 'tab\\tnew\\nline']",
         {QStringLiteral("back\\slash"), QStringLiteral("tab\tnew\nline")}},
        {"['\\u00e9t\\u00C9.desktop', '\\U0001F600', '\\ufeff']",
         {QStringLiteral("\u00e9t\u00c9.desktop"), QStringLiteral("\U0001F600"), QString(QChar(0xFEFF))}},
        {"['']", {QString()}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GnomeFavourites::parseStringArray(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(GnomeFavouritesParse, RejectsAnythingElse)
{
    const char* const texts[] = {
        "",
        "   \n",
        "No such schema \xe2\x80\x9corg.gnome.shell\xe2\x80\x9d",
        "[",
        "['a'",
        "['a',]",
        "['a' 'b']",
        "[a.desktop]",
        "['a'] x",
        "['a']]",
        "@a []",
        "@ai []",
        "[1, 2]",
        "[['a']]",
        "['unterminated]",
        "['a\"]",
        "['ends with backslash\\",
        "['\\u12']",
        "['\\u00g1']",
        "['\\u+0e9']",
        "['\\u0000']",
        "['\\ud800']",
        "['\\U00110000']",
    };
    for (const char* text : texts)
        EXPECT_EQ(GnomeFavourites::parseStringArray(QString::fromUtf8(text)), std::nullopt) << text;
}

class GnomeFavouritesProgramTest : public TempHome {
protected:
    // A stand-in for gsettings that only answers the exact question the reader must ask.
    QString fakeSettings(const QByteArray& answer) const
    {
        const QString path = m_dir.path() + QStringLiteral("/bin/gsettings");
        writeFile(path, "#!/bin/sh\n"
                        "[ \"$*\" = 'get org.gnome.shell favorite-apps' ] || exit 64\n" +
                            answer + "\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
};

TEST_F(GnomeFavouritesProgramTest, OnlyACleanAnswerCounts)
{
    struct Case {
        const char* name;
        QByteArray script;
        QStringList expected;
    };
    const Case cases[] = {
        {"favourites",
         "echo \"['a.desktop', 'b.desktop']\"",
         {QStringLiteral("a.desktop"), QStringLiteral("b.desktop")}},
        {"none pinned", "echo '@as []'", {}},
        {"failure exit", "echo \"['a.desktop']\"; exit 1", {}},
        {"killed by a signal", "echo \"['a.desktop']\"; kill -9 $$", {}},
        {"error text", "echo 'No such schema' >&2; echo 'No such schema'", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GnomeFavourites::readFavourites(fakeSettings(c.script), 10s), c.expected) << c.name;
}

TEST_F(GnomeFavouritesProgramTest, AMissingProgramGivesNoFavourites)
{
    EXPECT_TRUE(GnomeFavourites::readFavourites(m_dir.path() + QStringLiteral("/bin/absent"), 10s).isEmpty());
}

// A reader that waited past its timeout would see the program finish and read its favourites.
TEST_F(GnomeFavouritesProgramTest, AHungProgramIsStoppedAtTheTimeout)
{
    const QString program = fakeSettings("echo \"['a.desktop']\"; exec sleep 30");

    EXPECT_TRUE(GnomeFavourites::readFavourites(program, 100ms).isEmpty());
}

} // namespace
