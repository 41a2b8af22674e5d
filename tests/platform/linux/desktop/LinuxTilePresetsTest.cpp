#include "platform/linux/desktop/LinuxTilePresets.h"

#include "deck/TileLibrary.h"
#include "platform/PlatformServices.h"
#include "platform/macos/MacTilePresets.h"
#include "support/TempHome.h"

#include <QRegularExpression>

namespace {

class LinuxTilePresetsTest : public TempHome {
protected:
    [[nodiscard]] std::vector<TilePreset> catalogue() const { return LinuxTilePresets::catalogue(m_paths); }

    [[nodiscard]] static const TilePreset& withId(const std::vector<TilePreset>& presets, const QString& id)
    {
        const auto found = std::find_if(presets.begin(), presets.end(),
                                        [&](const TilePreset& preset) { return preset.id == id; });
        if (found == presets.end())
            throw std::runtime_error("no preset " + id.toStdString());
        return *found;
    }
};

TEST_F(LinuxTilePresetsTest, MatchesTheMacCatalogueSlotForSlotInLinuxWords)
{
    const std::vector<TilePreset> mac = MacTilePresets::catalogue(m_paths.home);
    // The one the platform hands the deck.
    const std::vector<TilePreset> linux = createPlatformServices(m_paths).tilePresets();
    ASSERT_EQ(linux.size(), mac.size());
    const QRegularExpression macWords(QStringLiteral("Mac|Finder|Safari|iCloud|AirDrop|Dock|Apple|osascript|"
                                                     "pbcopy|pbpaste|networksetup|killall|\\.app\\b"));
    for (size_t index = 0; index < linux.size(); ++index) {
        const TilePreset& preset = linux[index];
        const std::string id = preset.id.toStdString();
        EXPECT_EQ(preset.category, mac[index].category) << id;
        EXPECT_EQ(preset.icon, mac[index].icon) << id;
        EXPECT_EQ(preset.label, preset.name) << id;
        const auto* script = preset.action.as<TileAction::RunScript>();
        EXPECT_FALSE(script && script->isAppleScript) << id;
        const QString words = preset.name + u'\n' + preset.blurb + u'\n' +
                              preset.permissionNote.value_or(QString()) + u'\n' +
                              (script ? script->source : QString());
        EXPECT_FALSE(words.contains(macWords)) << id << ": " << words.toStdString();
        EXPECT_EQ(std::count_if(linux.begin(), linux.end(),
                                [&](const TilePreset& other) { return other.id == preset.id; }),
                  1)
            << id;
    }
}

TEST_F(LinuxTilePresetsTest, FoldersFollowTheHomeAndTheUserDirectories)
{
    const auto folderOf = [this](const char* id) {
        return withId(catalogue(), QLatin1String(id)).action.as<TileAction::OpenFile>()->path;
    };
    EXPECT_EQ(folderOf("home-folder"), m_paths.home);
    EXPECT_EQ(folderOf("downloads"), m_paths.home + QStringLiteral("/Downloads"));

    const QString userDirs = m_paths.configHome + QStringLiteral("/user-dirs.dirs");
    struct Case {
        QByteArray file;
        QString expected;
    };
    const Case cases[] = {
        {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOWNLOAD_DIR=\"$HOME/T\xc3\xa9l\xc3\xa9\x63hargements\"\n",
         m_paths.home + QStringLiteral("/Téléchargements")},
        {"XDG_DOWNLOAD_DIR=\"/srv/in\\\"coming\"\n", QStringLiteral("/srv/in\"coming")},
        {"XDG_DOWNLOAD_DIR=\"$HOME/first\"\nXDG_DOWNLOAD_DIR=\"$HOME/last\"\n",
         m_paths.home + QStringLiteral("/last")},
        {"XDG_DOWNLOAD_DIR=\"$HOME\"\n", m_paths.home},
        {"XDG_DOWNLOAD_DIR=\"relative/dir\"\n", m_paths.home + QStringLiteral("/Downloads")},
        {"XDG_DOWNLOAD_DIR=$HOME/unquoted\n", m_paths.home + QStringLiteral("/Downloads")},
        {"XDG_DOWNLOAD_DIR=\"\n", m_paths.home + QStringLiteral("/Downloads")},
        {"XDG_DOWNLOAD_DIR=\"$HOMEWORK\"\n", m_paths.home + QStringLiteral("/Downloads")},
        {"\xff\xfe garbage", m_paths.home + QStringLiteral("/Downloads")},
    };
    for (const Case& c : cases) {
        writeFile(userDirs, c.file);
        EXPECT_EQ(folderOf("downloads"), c.expected) << c.file.toStdString();
    }
}

TEST_F(LinuxTilePresetsTest, ApplicationsStartFromTheirInstalledEntryOrWhereDebianPutsIt)
{
    const QString calculator =
        m_paths.dataHome + QStringLiteral("/applications/org.gnome.Calculator.desktop");
    writeFile(calculator, "[Desktop Entry]\nType=Application\nName=Calculator\nExec=gnome-calculator\n");
    const QString monitor =
        m_paths.dataHome + QStringLiteral("/applications/org.gnome.SystemMonitor.desktop");
    writeFile(monitor, "[Desktop Entry]\nType=Application\nName=System Monitor\nExec=gnome-system-monitor\n");
    m_paths.dataDirs = {m_dir.path() + QStringLiteral("/nowhere")};

    const std::vector<TilePreset> presets = catalogue();
    const auto launched = [&](const char* id) {
        const TilePreset& preset = withId(presets, QLatin1String(id));
        return std::pair(preset.action.as<TileAction::LaunchApp>()->path, preset.requiredProgram);
    };
    EXPECT_EQ(launched("calculator"), std::pair(calculator, QStringLiteral("gnome-calculator")));
    EXPECT_EQ(launched("system-monitor"), std::pair(monitor, QStringLiteral("gnome-system-monitor")))
        << "a later candidate is taken when the first is missing";
    EXPECT_EQ(launched("quick-mirror"),
              std::pair(QStringLiteral("/usr/share/applications/org.gnome.Cheese.desktop"),
                        QStringLiteral("cheese")));
}

} // namespace
