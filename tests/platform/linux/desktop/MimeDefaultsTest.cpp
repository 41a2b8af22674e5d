#include "platform/linux/desktop/MimeDefaults.h"

#include "support/EnvironmentGuard.h"
#include "support/TempHome.h"

using MimeDefaultsTest = TempHome;

TEST_F(MimeDefaultsTest, TheDesktopsOwnListComesFirstAndOnlyDefaultsCount)
{
    EnvironmentGuard environment;
    environment.set("HOME", m_dir.path().toUtf8());
    environment.unset("XDG_CONFIG_HOME");
    environment.unset("XDG_DATA_HOME");
    environment.set("XDG_CONFIG_DIRS", "relative:/etc/xdg");
    environment.set("XDG_DATA_DIRS", "/usr/share");
    environment.set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    const QStringList files = MimeDefaults::listFiles();
    const QString config = m_dir.path() + QStringLiteral("/.config/");
    EXPECT_EQ(files.mid(0, 4), QStringList({config + QStringLiteral("ubuntu-mimeapps.list"),
                                            config + QStringLiteral("gnome-mimeapps.list"),
                                            config + QStringLiteral("mimeapps.list"),
                                            QStringLiteral("/etc/xdg/ubuntu-mimeapps.list")}));
    EXPECT_EQ(files.last(), QStringLiteral("/usr/share/applications/mimeapps.list"));

    writeFile(config + QStringLiteral("gnome-mimeapps.list"),
              "[Added Associations]\ntext/calendar=added.desktop\n"
              "[Default Applications]\ntext/calendar = org.gnome.Calendar.desktop ; ;\n"
              "text/calendar-extra=wrong.desktop\n");
    writeFile(
        config + QStringLiteral("mimeapps.list"),
        "[Default Applications]\ntext/calendar=org.kde.korganizer.desktop;org.gnome.Calendar.desktop\n");
    writeFile(m_dir.path() + QStringLiteral("/.local/share/applications/mimeapps.list"),
              QByteArray(2 * 1024 * 1024, '\n'));
    EXPECT_EQ(MimeDefaults::defaultApplications(QStringLiteral("text/calendar"), files),
              QStringList({QStringLiteral("org.gnome.Calendar.desktop"),
                           QStringLiteral("org.kde.korganizer.desktop")}));
}
