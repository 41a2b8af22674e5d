#include "platform/linux/desktop/DesktopInstalledApplications.h"

#include "support/TempHome.h"

#include <QDir>

namespace {

class DesktopInstalledApplicationsTest : public TempHome {
protected:
    QString m_dataHome = m_dir.path() + QStringLiteral("/data-home");
    QString m_system = m_dir.path() + QStringLiteral("/system");
    QString m_vendor = m_dir.path() + QStringLiteral("/vendor");

    QString entry(const QString& dataDir, const QString& relativePath, const QByteArray& text) const
    {
        const QString path = dataDir + QStringLiteral("/applications/") + relativePath;
        writeFile(path, text);
        return path;
    }

    QString application(const QString& dataDir, const QString& relativePath, const QByteArray& name,
                        const QByteArray& more = {}) const
    {
        return entry(dataDir, relativePath,
                     "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=run\n" + more);
    }

    [[nodiscard]] std::vector<InstalledApplications::Entry> entries(const QString& locale = {}) const
    {
        return DesktopInstalledApplications({m_dataHome, m_system, m_vendor}, locale).entries();
    }

    [[nodiscard]] static QStringList names(const std::vector<InstalledApplications::Entry>& entries)
    {
        QStringList names;
        for (const InstalledApplications::Entry& entry : entries)
            names << entry.name;
        return names;
    }
};

TEST_F(DesktopInstalledApplicationsTest, TheFirstDataDirDecidesAnIdAndMenusHiddenEntriesStayOut)
{
    const QString ownEditor = application(m_dataHome, QStringLiteral("editor.desktop"), "My Editor");
    application(m_system, QStringLiteral("editor.desktop"), "System Editor");
    application(m_dataHome, QStringLiteral("removed.desktop"), "Removed", "Hidden=true\n");
    application(m_system, QStringLiteral("removed.desktop"), "Removed Here");
    application(m_system, QStringLiteral("helper.desktop"), "Helper", "NoDisplay=true\n");
    const QString okular = application(m_system, QStringLiteral("kde4/okular.desktop"), "Okular");
    application(m_vendor, QStringLiteral("kde4-okular.desktop"), "Vendor Okular");
    entry(m_system, QStringLiteral("site.desktop"), "[Desktop Entry]\nType=Link\nName=Site\nURL=https://a\n");

    const std::vector<InstalledApplications::Entry> found = entries();
    EXPECT_EQ(names(found), (QStringList{QStringLiteral("My Editor"), QStringLiteral("Okular")}));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].desktopPath, ownEditor);
    EXPECT_EQ(found[1].desktopPath, okular);
}

TEST_F(DesktopInstalledApplicationsTest, ListsLocalisedNamesInCaseInsensitiveOrderAndSkipsWhatCannotBeRead)
{
    application(m_system, QStringLiteral("zebra.desktop"), "zebra", "Icon=zebra-icon\n");
    application(m_system, QStringLiteral("files.desktop"), "Files",
                "Name[de]=Dateien\nIcon=/opt/files.png\n");
    application(m_vendor, QStringLiteral("alpha.desktop"), "Alpha");
    application(m_vendor, QStringLiteral("nameless.desktop"), "  ");
    entry(m_system, QStringLiteral("binary.desktop"), QByteArray("\xff\xfe\x00[Desktop Entry]\x80", 19));
    entry(m_system, QStringLiteral("empty.desktop"), {});
    entry(m_system, QStringLiteral("groupless.desktop"), "Type=Application\nName=Loose\nExec=run\n");
    QDir().mkpath(m_system + QStringLiteral("/applications/folder.desktop"));

    const std::vector<InstalledApplications::Entry> found = entries(QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(names(found), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Dateien"),
                                         QStringLiteral("nameless"), QStringLiteral("zebra")}));
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[1].iconName, QStringLiteral("/opt/files.png"));
    EXPECT_EQ(found[3].iconName, QStringLiteral("zebra-icon"));
    EXPECT_TRUE(
        DesktopInstalledApplications({m_dir.path() + QStringLiteral("/absent")}, {}).entries().empty());
}

} // namespace
