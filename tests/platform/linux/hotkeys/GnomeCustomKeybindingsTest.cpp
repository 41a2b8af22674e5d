#include "platform/linux/hotkeys/GnomeCustomKeybindings.h"

#include "core/ProcessUtil.h"
#include "platform/linux/hotkeys/GVariantText.h"
#include "support/EnvironmentGuard.h"
#include "support/FakeProcessRunner.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QStandardPaths>
#include <glib.h>
#include <gtest/gtest.h>

namespace {

using Skipped = KeyboardShortcutSetup::Skipped;

const QString listSchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys");
const QString entrySchema = QStringLiteral("org.gnome.settings-daemon.plugins.media-keys.custom-keybinding");
const QString prefix = QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/");

// The real gsettings on a settings file of the test's own, with just the two schemas GNOME's shortcuts use.
class GnomeCustomKeybindingsTest : public TempHome {
protected:
    void SetUp() override
    {
        const QString compiler = QStandardPaths::findExecutable(QStringLiteral("glib-compile-schemas"));
        if (m_gsettings.isEmpty() || compiler.isEmpty())
            GTEST_SKIP() << "gsettings and glib-compile-schemas (libglib2.0-bin) are needed";
        writeFile(m_dir.path() + QStringLiteral("/schemas/media-keys.gschema.xml"), R"(<schemalist>
  <schema id="org.gnome.settings-daemon.plugins.media-keys" path="/org/gnome/settings-daemon/plugins/media-keys/">
    <key name="custom-keybindings" type="as"><default>[]</default></key>
  </schema>
  <schema id="org.gnome.settings-daemon.plugins.media-keys.custom-keybinding">
    <key name="name" type="s"><default>''</default></key>
    <key name="command" type="s"><default>''</default></key>
    <key name="binding" type="s"><default>''</default></key>
  </schema>
</schemalist>)");
        const QString schemas = m_dir.path() + QStringLiteral("/schemas");
        ASSERT_TRUE(m_processes.capture(compiler, {schemas}));
        m_environment.set("GSETTINGS_BACKEND", "keyfile");
        m_environment.set("GSETTINGS_SCHEMA_DIR", schemas.toLocal8Bit());
        m_environment.set("XDG_CONFIG_HOME", (m_dir.path() + QStringLiteral("/config")).toLocal8Bit());
    }

    void setEntry(const QString& path, const QString& name, const QString& binding)
    {
        for (const auto& [key, value] :
             {std::pair{QStringLiteral("name"), name}, {QStringLiteral("binding"), binding}})
            gsettings({QStringLiteral("set"), entrySchema + u':' + path, key, GVariantText::quoted(value)});
    }
    void setList(const QStringList& entries)
    {
        gsettings({QStringLiteral("set"), listSchema, QStringLiteral("custom-keybindings"),
                   GVariantText::quotedArray(entries)});
    }
    [[nodiscard]] QStringList list()
    {
        return GVariantText::parseStringArray(
                   gsettings({QStringLiteral("get"), listSchema, QStringLiteral("custom-keybindings")}))
            .value_or(QStringList{QStringLiteral("unreadable")});
    }
    [[nodiscard]] QString entryKey(const QString& name, const QString& key)
    {
        return GVariantText::parseString(
                   gsettings({QStringLiteral("get"), entrySchema + u':' + prefix + name, key}))
            .value_or(QStringLiteral("unreadable"));
    }
    QString gsettings(const QStringList& arguments)
    {
        return m_processes.capture(m_gsettings, arguments).value_or(QString());
    }

    const QString m_gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
    ProcessUtil m_processes;
    EnvironmentGuard m_environment;
    GnomeCustomKeybindings m_keybindings{m_processes, m_gsettings};
};

TEST_F(GnomeCustomKeybindingsTest, AddsOursBesideTheUsersSkipsTakenKeysAndAddsNothingTwice)
{
    const QString terminal = QStringLiteral("/user/terminal/");
    setEntry(terminal, QStringLiteral("Terminal"), QStringLiteral("<Primary><Alt>Space"));
    setEntry(QStringLiteral("/user/files/"), QStringLiteral("Files"), QStringLiteral("<Alt><Ctrl>3"));
    const QStringList users{terminal, QStringLiteral("not a path"), QStringLiteral("/user/files/"), terminal};
    setList(users);

    const auto first = m_keybindings.setUp(QStringLiteral("/usr/bin/marquetto-deck"));
    EXPECT_EQ(first.failure, QString());
    EXPECT_EQ(first.added.size(), 8);
    EXPECT_EQ(first.added.first(), QStringLiteral("Control-Alt-1"));
    EXPECT_EQ(first.skipped,
              (std::vector<Skipped>{{QStringLiteral("Control-Alt-Space"), QStringLiteral("Terminal")},
                                    {QStringLiteral("Control-Alt-3"), QStringLiteral("Files")}}));
    const QStringList afterFirst = list();
    EXPECT_EQ(afterFirst.mid(0, 4), users);
    EXPECT_EQ(afterFirst.value(4), prefix + QStringLiteral("marquetto-tile-1/"));
    EXPECT_EQ(entryKey(QStringLiteral("marquetto-tile-2/"), QStringLiteral("name")),
              QStringLiteral("Marquetto: Run tile 2"));
    EXPECT_EQ(entryKey(QStringLiteral("marquetto-tile-2/"), QStringLiteral("binding")),
              QStringLiteral("<Control><Alt>2"));

    const auto second = m_keybindings.setUp(QStringLiteral("/usr/bin/marquetto-deck"));
    EXPECT_TRUE(second.added.isEmpty());
    EXPECT_EQ(second.alreadyThere, first.added);
    EXPECT_EQ(list(), afterFirst);
    EXPECT_EQ(m_keybindings.installed().installed, first.added);

    EXPECT_EQ(m_keybindings.remove().removed, 8);
    EXPECT_EQ(list(), users);
    EXPECT_EQ(entryKey(QStringLiteral("marquetto-tile-2/"), QStringLiteral("binding")), QString());
    EXPECT_EQ(m_keybindings.remove().removed, 0);
    EXPECT_TRUE(m_keybindings.installed().installed.isEmpty());
}

TEST_F(GnomeCustomKeybindingsTest, ACompanionPathWithSpacesAndQuotesStaysOneArgument)
{
    const QString companion = QStringLiteral("/opt/My \"Deck\" it's $HOME \\ here/marquetto-deck");
    ASSERT_EQ(m_keybindings.setUp(companion).added.size(), 10);

    const QByteArray command =
        entryKey(QStringLiteral("marquetto-tile-7/"), QStringLiteral("command")).toUtf8();
    gchar** argv = nullptr;
    ASSERT_TRUE(g_shell_parse_argv(command.constData(), nullptr, &argv, nullptr)) << command.constData();
    QStringList arguments;
    for (gchar** argument = argv; *argument; ++argument)
        arguments << QString::fromUtf8(*argument);
    g_strfreev(argv);
    EXPECT_EQ(arguments, (QStringList{companion, QStringLiteral("fire"), QStringLiteral("7")}));
}

// What gsettings answers, scripted: each case says why and writes no list, so the user loses nothing.
TEST(GnomeCustomKeybindingsAnswers, BadListsMissingSettingsAndWritesNotKeptChangeNoList)
{
    const QString gsettings = QStringLiteral("/usr/bin/gsettings ");
    QStringList many;
    for (int n = 0; n < 500; ++n)
        many << QStringLiteral("/custom%1/").arg(n);
    const struct {
        QString gsettings;
        QString schemas;
        QString list;
        QString failure;
        QString logged = {};
    } cases[] = {
        {QString(), listSchema, QStringLiteral("@as []"), QStringLiteral("the gsettings program is missing")},
        {gsettings, QString(), QStringLiteral("@as []"), QStringLiteral("settings are not installed")},
        {gsettings, listSchema, QStringLiteral("'not a list'"), QStringLiteral("is not a list of texts")},
        {gsettings, listSchema, QStringLiteral("['/a/', 42]"), QStringLiteral("is not a list of texts")},
        {gsettings, listSchema, GVariantText::quotedArray(many),
         QStringLiteral("holds 500 custom shortcuts")},
        // The fake keeps nothing it is told to set.
        {gsettings, listSchema, QStringLiteral("['/u/']"), QStringLiteral("did not keep the shortcut"),
         QStringLiteral("has a binding that is no text")},
    };
    for (const auto& test : cases) {
        FakeProcessRunner processes;
        processes.answer(gsettings + QStringLiteral("list-schemas"), test.schemas);
        processes.answer(gsettings + QStringLiteral("list-relocatable-schemas"), entrySchema);
        processes.answer(gsettings + QStringLiteral("get ") + listSchema +
                             QStringLiteral(" custom-keybindings"),
                         test.list);
        processes.answer(gsettings + QStringLiteral("list-recursively ") + entrySchema +
                             QStringLiteral(":/u/"),
                         entrySchema + QStringLiteral(" binding 42\n"));
        LogCapture log;
        const auto report =
            GnomeCustomKeybindings(processes, test.gsettings.trimmed()).setUp(QStringLiteral("/d"));
        EXPECT_TRUE(report.failure.contains(test.failure)) << report.failure.toStdString();
        EXPECT_TRUE(report.added.isEmpty());
        EXPECT_FALSE(log.lines().filter(test.logged.isEmpty() ? test.failure : test.logged).isEmpty());
        for (const auto& call : processes.calls())
            EXPECT_FALSE(call.arguments.contains(QStringLiteral("custom-keybindings")) &&
                         call.arguments[0] == u"set");
    }
}

TEST(GnomeCustomKeybindingsAnswers, BindingsAreComparedWhateverTheSpellingOfTheirModifiers)
{
    const QString ours = GnomeCustomKeybindings::normalisedBinding(QStringLiteral("<Control><Alt>space"));
    for (const char* same :
         {"<Primary><Alt>space", "<Alt><Ctrl>Space", "<alt><control><Control>SPACE", "<Mod1><Primary>space"})
        EXPECT_EQ(GnomeCustomKeybindings::normalisedBinding(QString::fromLatin1(same)), ours) << same;
    for (const char* other : {"<Control>space", "<Control><Alt><Shift>space", "<Super><Alt>space", ""})
        EXPECT_NE(GnomeCustomKeybindings::normalisedBinding(QString::fromLatin1(other)), ours) << other;
}

} // namespace
