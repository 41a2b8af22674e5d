#include "platform/linux/desktop/LinuxWorkspace.h"
#include "support/EnvironmentGuard.h"
#include "support/FakeProcessRunner.h"
#include "support/TempHome.h"

#include <QFile>
#include <QUrl>

namespace {

// A fresh home on a machine whose applications are the test's own: the workspace reads only the files the
// test writes below it.
class DesktopFavouritesTest : public TempHome {
protected:
    void SetUp() override
    {
        m_environment.set("HOME", m_dir.path().toUtf8());
        m_environment.unset("XDG_CONFIG_HOME");
        m_environment.unset("XDG_DATA_HOME");
        m_environment.set("XDG_CONFIG_DIRS", (m_dir.path() + QStringLiteral("/etc-xdg")).toUtf8());
        m_environment.set("XDG_DATA_DIRS", system().toUtf8());
        m_environment.set("XDG_CURRENT_DESKTOP", "KDE");
    }

    [[nodiscard]] QString system() const { return m_dir.path() + QStringLiteral("/usr-share"); }
    [[nodiscard]] QString config(const QString& name) const { return m_paths.configHome + u'/' + name; }

    // Installs an application for the system and answers its ".desktop" file.
    QString install(const char* desktopId) const
    {
        const QString path = system() + QStringLiteral("/applications/") + QLatin1String(desktopId);
        writeFile(path, "[Desktop Entry]\nType=Application\nName=App\nExec=app\n");
        return path;
    }

    void setDesktop(const char* xdgCurrentDesktop)
    {
        m_environment.set("XDG_CURRENT_DESKTOP", xdgCurrentDesktop);
    }

    [[nodiscard]] LinuxWorkspace workspace(QStringList gnomeFavourites = {})
    {
        return LinuxWorkspace(AppPaths::forHome(m_dir.path(), {}, {}, system()), m_processes,
                              [gnomeFavourites] { return gnomeFavourites; });
    }

    EnvironmentGuard m_environment;
    FakeProcessRunner m_processes;
};

TEST_F(DesktopFavouritesTest, PlasmaTaskManagersGiveTheirLaunchersPanelByPanel)
{
    const QString dolphin = install("org.kde.dolphin.desktop");
    const QString konsole = install("org.kde.konsole.desktop");
    const QString firefox = install("firefox-esr.desktop");
    const QString settings = install("systemsettings.desktop");
    const QString own = m_dir.path() + QStringLiteral("/Apps/Own Tool.desktop");
    writeFile(own, "[Desktop Entry]\nType=Application\nExec=tool\n");
    writeFile(config(QStringLiteral("mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/https=firefox-esr.desktop\n");
    writeFile(config(QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc")),
              "[Containments][7][Applets][9]\nplugin=org.kde.plasma.icontasks\n\n"
              "[Containments][7][Applets][9][Configuration][General]\n"
              "launchers=applications:org.kde.konsole.desktop," +
                  QUrl::fromLocalFile(own).toEncoded() +
                  ",applications:gone.desktop,preferred://browser\n\n"
                  "[Containments][2][Applets][3]\nplugin=org.kde.plasma.kickoff\n"
                  "[Containments][2][Applets][3][Configuration][General]\n"
                  "launchers=applications:org.kde.dolphin.desktop\n"
                  "[Containments][2][Applets][4]\nplugin=org.kde.plasma.taskmanager\n");

    // The panel numbered first comes first; its task manager was never changed and shows Plasma's own pins.
    EXPECT_EQ(workspace().favouriteApplications(),
              (QStringList{settings, dolphin, firefox, konsole, own, firefox}));
}

TEST_F(DesktopFavouritesTest, XfcePanelsGiveTheirLauncherItemsFromThePanelsOwnFolder)
{
    const QString terminal = install("xfce4-terminal-emulator.desktop");
    const QString copied = config(QStringLiteral("xfce4/panel/launcher-17/16700000001.desktop"));
    writeFile(copied, "[Desktop Entry]\nType=Application\nExec=thunar\n");
    writeFile(config(QStringLiteral("secret.desktop")), "[Desktop Entry]\nType=Application\nExec=x\n");
    writeFile(config(QStringLiteral("xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml")),
              R"(<?xml version="1.0"?>
<channel name="xfce4-panel" version="1.0">
  <property name="panels" type="array">
    <value type="int" value="2"/>
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="plugin-ids" type="array"><value type="int" value="17"/></property>
    </property>
    <property name="panel-2" type="empty">
      <property name="plugin-ids" type="array">
        <value type="int" value="3"/><value type="int" value="5"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-3" type="string" value="tasklist"/>
    <property name="plugin-5" type="string" value="launcher">
      <property name="items" type="array">
        <value type="string" value="xfce4-terminal-emulator.desktop"/>
        <value type="string" value="../../secret.desktop"/>
      </property>
    </property>
    <property name="plugin-17" type="string" value="launcher">
      <property name="items" type="array"><value type="string" value="16700000001.desktop"/></property>
    </property>
  </property>
</channel>
)");
    setDesktop("XFCE");
    EXPECT_EQ(workspace().favouriteApplications(), (QStringList{terminal, copied}));

    writeFile(config(QStringLiteral("xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml")),
              QByteArray("<channel>") + QByteArray(100000, 'x').replace("x", "<property name='p'>") +
                  "</channel>");
    EXPECT_EQ(workspace().favouriteApplications(), QStringList()) << "no channel, however deep";
}

TEST_F(DesktopFavouritesTest, TheDesktopInUseIsAskedFirstAndAPinlessOneGivesWayToTheNext)
{
    const QString nautilus = install("org.gnome.Nautilus.desktop");
    const QString dolphin = install("org.kde.dolphin.desktop");
    writeFile(config(QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc")),
              "[Containments][1][Applets][2]\nplugin=org.kde.plasma.icontasks\n"
              "[Containments][1][Applets][2][Configuration][General]\n"
              "launchers=applications:org.kde.dolphin.desktop\n");
    const QStringList gnome{QStringLiteral("org.gnome.Nautilus.desktop")};

    setDesktop("KDE");
    EXPECT_EQ(workspace(gnome).favouriteApplications(), QStringList{dolphin});
    setDesktop("ubuntu:GNOME");
    EXPECT_EQ(workspace(gnome).favouriteApplications(), QStringList{nautilus});
    setDesktop("MATE");
    EXPECT_EQ(workspace(gnome).favouriteApplications(), QStringList{nautilus});
    EXPECT_EQ(workspace({QStringLiteral("gone.desktop")}).favouriteApplications(), QStringList{dolphin});
}

TEST_F(DesktopFavouritesTest, EverydayApplicationsAreTheDefaultsElseTheDesktopsOwn)
{
    const QString firefox = install("firefox-esr.desktop");
    install("org.gnome.Nautilus.desktop");
    const QString dolphin = install("org.kde.dolphin.desktop");
    install("org.gnome.Terminal.desktop");
    const QString konsole = install("org.kde.konsole.desktop");
    const QString thunderbird = install("thunderbird.desktop");
    const QString kwrite = install("org.kde.kwrite.desktop");
    const QString mousepad = install("org.xfce.mousepad.desktop");
    const QString settings = install("systemsettings.desktop");
    writeFile(config(QStringLiteral("mimeapps.list")),
              "[Default Applications]\ntext/plain=gone.desktop;org.xfce.mousepad.desktop\n");

    setDesktop("KDE");
    EXPECT_EQ(workspace().everydayApplications(),
              (QStringList{firefox, dolphin, konsole, thunderbird, mousepad, settings}));

    QFile::remove(config(QStringLiteral("mimeapps.list")));
    QFile::remove(thunderbird);
    QFile::remove(settings);
    EXPECT_EQ(workspace().everydayApplications(), (QStringList{firefox, dolphin, konsole, kwrite}))
        << "a job nothing is installed for is left out";
}

} // namespace
