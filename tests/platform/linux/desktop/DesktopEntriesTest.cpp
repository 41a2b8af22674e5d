#include "platform/linux/desktop/DesktopEntries.h"

#include "platform/linux/desktop/LinuxWorkspace.h"
#include "support/FakeProcessRunner.h"
#include "support/TempHome.h"

#include <QDir>

namespace {

class DesktopEntriesTest : public TempHome {
protected:
    QString m_dataHome = m_dir.path() + QStringLiteral("/data-home");
    QString m_system = m_dir.path() + QStringLiteral("/system");
    QString m_vendor = m_dir.path() + QStringLiteral("/vendor");
    QStringList m_dataDirs{m_dataHome, m_system, m_vendor};

    // Writes an entry below "<dataDir>/applications/" and answers its path.
    QString entry(const QString& dataDir, const QString& relativePath) const
    {
        const QString path = dataDir + QStringLiteral("/applications/") + relativePath;
        writeFile(path, "[Desktop Entry]\nType=Application\n");
        return path;
    }

    [[nodiscard]] std::optional<QString> find(const QString& id) const
    {
        return DesktopEntries::find(id, m_dataDirs);
    }
};

TEST_F(DesktopEntriesTest, TheFirstDataDirHoldingTheIdAsAFileWins)
{
    QDir().mkpath(m_dataHome + QStringLiteral("/applications/folder.desktop"));
    const QString folderInSystem = entry(m_system, QStringLiteral("folder.desktop"));
    const QString own = entry(m_dataHome, QStringLiteral("editor.desktop"));
    entry(m_system, QStringLiteral("editor.desktop"));
    const QString system = entry(m_system, QStringLiteral("viewer.desktop"));
    entry(m_vendor, QStringLiteral("viewer.desktop"));
    const QString vendor = entry(m_vendor, QStringLiteral("player.desktop"));

    EXPECT_EQ(find(QStringLiteral("editor.desktop")), own);
    EXPECT_EQ(find(QStringLiteral("viewer.desktop")), system);
    EXPECT_EQ(find(QStringLiteral("player.desktop")), vendor);
    EXPECT_EQ(find(QStringLiteral("folder.desktop")), folderInSystem);
    EXPECT_EQ(find(QStringLiteral("absent.desktop")), std::nullopt);
}

TEST_F(DesktopEntriesTest, DashesInAnIdMayStandForSubfolders)
{
    const QString kde = entry(m_system, QStringLiteral("kde4/okular.desktop"));
    const QString dashedFolder = entry(m_system, QStringLiteral("my-tools/run-it.desktop"));
    const QString nested = entry(m_vendor, QStringLiteral("a/b/c.desktop"));
    const QString flat = entry(m_system, QStringLiteral("foo-bar.desktop"));
    entry(m_system, QStringLiteral("foo/bar.desktop"));

    struct Case {
        QString id;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {QStringLiteral("kde4-okular.desktop"), kde},
        {QStringLiteral("my-tools-run-it.desktop"), dashedFolder},
        {QStringLiteral("a-b-c.desktop"), nested},
        {QStringLiteral("foo-bar.desktop"), flat},
        {QStringLiteral("kde4-missing.desktop"), std::nullopt},
        {QStringLiteral("okular.desktop"), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find(c.id), c.expected) << c.id.toStdString();
}

TEST_F(DesktopEntriesTest, IdsThatCouldLeaveTheApplicationsFolderAreRejected)
{
    // Targets an escaping id would reach, so only the rejection keeps them out.
    writeFile(m_dataHome + QStringLiteral("/secret.desktop"), "secret");
    writeFile(m_dataHome + QStringLiteral("/applications/plain"), "not an entry");
    entry(m_dataHome, QStringLiteral("x.desktop"));

    const QString ids[] = {
        QString(),
        QStringLiteral(".desktop.bak"),
        QStringLiteral("plain"),
        QStringLiteral("../secret.desktop"),
        QStringLiteral("../../../etc/passwd.desktop"),
        QStringLiteral("sub/x.desktop"),
        QStringLiteral("..-secret.desktop"),
        QStringLiteral(".-x.desktop"),
        QStringLiteral("-x.desktop"),
        QStringLiteral("plain") + QChar(0) + QStringLiteral(".desktop"),
    };
    for (const QString& id : ids)
        EXPECT_EQ(find(id), std::nullopt) << id.toStdString();
    EXPECT_TRUE(find(QStringLiteral("x.desktop")));
}

TEST_F(DesktopEntriesTest, LinuxWorkspaceSearchesTheUsersDataHomeFirst)
{
    const QString own = entry(m_dataHome, QStringLiteral("editor.desktop"));
    entry(m_system, QStringLiteral("editor.desktop"));
    const QString system = entry(m_system, QStringLiteral("viewer.desktop"));
    const AppPaths paths =
        AppPaths::forHome(m_dir.path(), m_dataHome, {}, m_system + QLatin1Char(':') + m_vendor);
    FakeProcessRunner processes;
    const LinuxWorkspace workspace(paths, processes,
                                   [] { return QStringList{QStringLiteral("viewer.desktop")}; });

    EXPECT_EQ(workspace.applicationPath(QStringLiteral("editor.desktop")), own);
    EXPECT_EQ(workspace.applicationPath(QStringLiteral("viewer.desktop")), system);
    EXPECT_EQ(workspace.applicationPath(QStringLiteral("com.apple.Safari")), std::nullopt);
    EXPECT_EQ(workspace.favouriteApplications(), QStringList{system});
}

} // namespace
