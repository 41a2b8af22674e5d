#include "platform/linux/desktop/DesktopApplicationNames.h"

#include "model/Models.h"
#include "support/TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class DesktopApplicationNamesTest : public TempHome {
protected:
    void SetUp() override
    {
        writeFile(m_files, R"([Desktop Entry]
Type=Application
Name=Files
Name[de]=Dateien
Name[pt]=Ficheiros
Name[pt_BR]=Arquivos
Name[sr@latin]=Datoteke
Name[sr]=Датотеке
Exec=nautilus --new-window %U
[Desktop Action new-window]
Name=New Window
Name[de]=Neues Fenster
Exec=nautilus --new-window
)");
    }

    const QString m_files = m_dir.filePath(QStringLiteral("applications/org.gnome.Nautilus.desktop"));
};

TEST_F(DesktopApplicationNamesTest, AnApplicationTileIsLabelledWithTheEntrysNameInTheUsersLanguage)
{
    const struct {
        const char* locale;
        const char* name;
    } cases[] = {
        {"", "Files"},
        {"C", "Files"},
        {"de_DE.UTF-8", "Dateien"},
        {"pt_BR.UTF-8", "Arquivos"},
        {"pt_PT", "Ficheiros"},
        {"sr_RS@latin", "Datoteke"},
        {"sr_RS", "Датотеке"},
        {"fr_FR.UTF-8", "Files"},
    };
    const TileAction launch{TileAction::LaunchApp{m_files}};
    for (const auto& c : cases) {
        const DesktopApplicationNames names{QString::fromUtf8(c.locale)};
        EXPECT_EQ(launch.defaultLabel(names), QString::fromUtf8(c.name)) << c.locale;
        EXPECT_EQ(launch.tooltipDescription(names), QString::fromUtf8(c.name)) << c.locale;
    }
}

TEST_F(DesktopApplicationNamesTest, AnEntryIsReadOnceAndOneThatIsGoneLeavesTheId)
{
    const DesktopApplicationNames names{QStringLiteral("de_DE")};
    const Tile tile{QUuid::createUuid(), QString(), {}, TileAction{TileAction::LaunchApp{m_files}}};
    EXPECT_EQ(tile.tooltipText(names), QStringLiteral("Dateien"));
    ASSERT_TRUE(QFile::remove(m_files));
    EXPECT_EQ(tile.tooltipText(names), QStringLiteral("Dateien"));

    const DesktopApplicationNames later{QStringLiteral("de_DE")};
    EXPECT_EQ(tile.tooltipText(later), QStringLiteral("org.gnome.Nautilus"));
    writeFile(m_files, "[Desktop Entry]\nType=Application\nName=  \nExec=nautilus\n");
    const DesktopApplicationNames blank{QStringLiteral("de_DE")};
    EXPECT_EQ(tile.tooltipText(blank), QStringLiteral("org.gnome.Nautilus"));
}

} // namespace
