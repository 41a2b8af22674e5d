#include "platform/linux/desktop/AutostartEntry.h"

#include "platform/linux/desktop/DesktopFile.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class AutostartEntryTest : public TempHome {
protected:
    // An executable `program` below the home folder, with share/marquetto beside its folder when `installed`.
    QString program(const QString& relative, bool installed)
    {
        const QString path = m_dir.filePath(relative);
        writeFile(path, "#!/bin/sh\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (installed)
            QDir().mkpath(QFileInfo(path).absolutePath() + QStringLiteral("/../share/marquetto"));
        return path;
    }
};

TEST_F(AutostartEntryTest, ABuildTreesDeckStartsTheInstalledDeckWhenThereIsOne)
{
    const QString built = program(QStringLiteral("src/build/src/marquetto"), false);
    const QString usr = program(QStringLiteral("usr/bin/marquetto"), true);
    const QString local = program(QStringLiteral("usr/local/bin/marquetto"), true);
    const QString bare = program(QStringLiteral("opt/bin/marquetto"), false);
    const QString missing = m_dir.filePath(QStringLiteral("gone/bin/marquetto"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("gone/share/marquetto")));
    struct Case {
        const char* name;
        QString running;
        QStringList installed;
        QString expected;
    };
    const Case cases[] = {
        {"an installed deck starts itself", local, {usr}, local},
        {"a build tree's deck starts the first installed one",
         built,
         {QString(), bare, missing, usr, local},
         usr},
        {"with none installed, the running deck", built, {QString(), bare, missing}, built},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AutostartEntry::programToStart(c.running, c.installed), c.expected);
    }
}

TEST_F(AutostartEntryTest, TheExecLineGivesBackAnyPathAsOneArgument)
{
    for (const QString& name : {QStringLiteral("My Apps"), QStringLiteral("say \"hi\""),
                                QStringLiteral("back\\slash"), QStringLiteral("100% it's `$HOME`")}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = m_dir.filePath(name + QStringLiteral("/marquetto"));
        ASSERT_EQ(AutostartEntry::set(m_paths, path, true), std::nullopt);
        const auto entry = DesktopFile::read(AutostartEntry::path(m_paths));
        ASSERT_TRUE(entry) << entry.error().toStdString();
        const auto command = entry->commandLine();
        ASSERT_TRUE(command) << command.error().toStdString();
        EXPECT_EQ(*command, QStringList{path});
    }
}

TEST_F(AutostartEntryTest, AnEntryAnEarlierVersionWroteCountsAsOnAndGivesWayToTheNewOne)
{
    const QString earlier = m_paths.configHome + QStringLiteral("/autostart/marquetto.desktop");
    writeFile(earlier, "[Desktop Entry]\nType=Application\nExec=/usr/bin/marquetto\n");
    EXPECT_TRUE(AutostartEntry::isOn(m_paths));

    ASSERT_EQ(AutostartEntry::set(m_paths, QStringLiteral("/usr/bin/marquetto"), true), std::nullopt);
    EXPECT_FALSE(QFile::exists(earlier));
    EXPECT_TRUE(AutostartEntry::isOn(m_paths));

    writeFile(earlier, "[Desktop Entry]\nType=Application\nExec=/usr/bin/marquetto\n");
    ASSERT_EQ(AutostartEntry::set(m_paths, {}, false), std::nullopt);
    EXPECT_FALSE(AutostartEntry::isOn(m_paths));
}

} // namespace
