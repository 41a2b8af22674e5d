#include "platform/linux/appearance/DesktopWallpaper.h"

#include "platform/linux/appearance/LinuxWallpaper.h"
#include "platform/linux/x11/XcbConnection.h"
#include "support/FakeProcessRunner.h"
#include "support/TempHome.h"

namespace {

using DesktopWallpaper::Desktop;

std::optional<QString> some(const char* path)
{
    return QString::fromUtf8(path);
}

TEST(DesktopWallpaperLookup, TheDesktopIsTheFirstOneXdgCurrentDesktopNamesThatWeKnow)
{
    const struct {
        const char* value;
        Desktop desktop;
    } cases[] = {
        {"GNOME", Desktop::gnome}, {"ubuntu:GNOME", Desktop::gnome},
        {"KDE", Desktop::plasma},  {"XFCE", Desktop::xfce},
        {"xfce", Desktop::xfce},   {"X-Cinnamon", Desktop::unknown},
        {"", Desktop::unknown},    {"GNOME-Flashback", Desktop::unknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopWallpaper::desktopFrom(QString::fromUtf8(c.value)), c.desktop) << c.value;
}

TEST(DesktopWallpaperLookup, LocalFilesComeFromFileAddressesAndAbsolutePaths)
{
    const struct {
        const char* text;
        std::optional<QString> file;
    } cases[] = {
        {"file:///usr/share/backgrounds/a%20b%C3%A9.jpg", some("/usr/share/backgrounds/a bé.jpg")},
        {"file:///home/u/100%25.png", some("/home/u/100%.png")},
        {"/home/u/plain path.png", some("/home/u/plain path.png")},
        {"  file:///x.png\n", some("/x.png")},
        {"https://example.org/x.png", std::nullopt},
        {"relative/x.png", std::nullopt},
        {"file://", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopWallpaper::localFile(QString::fromUtf8(c.text)), c.file) << c.text;
}

TEST(DesktopWallpaperLookup, GnomeShowsTheDarkPictureWhileTheSchemePrefersDark)
{
    const char* light = "'file:///usr/share/backgrounds/light.jxl'\n";
    const char* dark = "'file:///usr/share/backgrounds/dark%27s.jxl'\n";
    const struct {
        const char* scheme;
        const char* uri;
        const char* darkUri;
        std::optional<QString> picture;
    } cases[] = {
        {"'default'\n", light, dark, some("/usr/share/backgrounds/light.jxl")},
        {"'prefer-light'\n", light, dark, some("/usr/share/backgrounds/light.jxl")},
        {"'prefer-dark'\n", light, dark, some("/usr/share/backgrounds/dark's.jxl")},
        {"'prefer-dark'\n", light, "''\n", some("/usr/share/backgrounds/light.jxl")},
        {"", light, "", some("/usr/share/backgrounds/light.jxl")}, // GNOME before 42
        {"'prefer-dark'\n", "''\n", "''\n", std::nullopt},
        {"'default'\n", "'https://example.org/x.jpg'", dark, std::nullopt},
        {"'default'\n", "No such key “picture-uri”", dark, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DesktopWallpaper::gnomePicture(QString::fromUtf8(c.scheme), QString::fromUtf8(c.uri),
                                                 QString::fromUtf8(c.darkUri)),
                  c.picture)
            << c.scheme << c.uri << c.darkUri;
    }
}

TEST(DesktopWallpaperLookup, PlasmaShowsThePictureOfThePrimaryScreensDesktop)
{
    const QString appletsrc = QStringLiteral(R"([ActionPlugins][0]
RightButton;NoModifier=org.kde.contextmenu

[Containments][2]
formfactor=2
lastScreen=0
location=4
plugin=org.kde.panel
wallpaperplugin=org.kde.image

[Containments][2][Applets][3]
plugin=org.kde.plasma.kickoff

[Containments][7]
activityId=a1
lastScreen=1
plugin=org.kde.plasma.folder
wallpaperplugin=org.kde.image

[Containments][7][Wallpaper][org.kde.image][General]
Image=file:///home/u/Pictures/second%20screen.png

[Containments][12][Wallpaper][org.kde.image][General]
Image=/home/u/Pictures/primary.jpg
SlidePaths=/usr/share/wallpapers/

[Containments][12]
activityId=a1
lastScreen=0
plugin=org.kde.plasma.folder
wallpaperplugin=org.kde.image

[Containments][30]
lastScreen=0
wallpaperplugin=org.kde.slideshow

[Containments][30][Wallpaper][org.kde.image][General]
Image=/home/u/Pictures/old.jpg
)");
    EXPECT_EQ(DesktopWallpaper::plasmaPicture(appletsrc), some("/home/u/Pictures/primary.jpg"));

    QString onlySecond = appletsrc;
    onlySecond.replace(QStringLiteral("Image=/home/u/Pictures/primary.jpg"), QString());
    EXPECT_EQ(DesktopWallpaper::plasmaPicture(onlySecond), some("/home/u/Pictures/second screen.png"));

    EXPECT_EQ(DesktopWallpaper::plasmaPicture(QStringLiteral("[Containments][1]\nlastScreen=0\n")),
              std::nullopt);
    EXPECT_EQ(DesktopWallpaper::plasmaPicture(QString()), std::nullopt);
}

TEST(DesktopWallpaperLookup, XfceShowsTheLastImageOfTheMonitorsWorkspace)
{
    const QString listing = QStringLiteral(
        "/backdrop/screen0/monitorDP-1/workspace0/color-style     0\n"
        "/backdrop/screen0/monitorDP-1/workspace0/last-image      /usr/share/backgrounds/xfce/dp0.jpg\n"
        "/backdrop/screen0/monitorDP-1/workspace1/last-image      /home/u/My Pictures/dp1.png\n"
        "/backdrop/screen0/monitorHDMI-1/workspace0/last-image    /usr/share/backgrounds/xfce/hdmi0.jpg\n"
        "/backdrop/screen0/monitorHDMI-1/workspace2/last-image    \n"
        "/backdrop/screen0/monitorHDMI-1/workspace3/last-image    file:///home/u/x%20y.png\n"
        "/desktop-icons/style                                      2\n");
    const struct {
        const char* monitor;
        int workspace;
        std::optional<QString> picture;
    } cases[] = {
        {"HDMI-1", 0, some("/usr/share/backgrounds/xfce/hdmi0.jpg")},
        {"DP-1", 1, some("/home/u/My Pictures/dp1.png")},
        {"HDMI-1", 1, some("/home/u/My Pictures/dp1.png")}, // that monitor has none: the first that has
        {"HDMI-1", 3, some("/home/u/x y.png")},
        {"", 0, some("/usr/share/backgrounds/xfce/dp0.jpg")},
        {"HDMI-1", 2, std::nullopt},
        {"DP-1", 9, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DesktopWallpaper::xfcePicture(listing, QString::fromUtf8(c.monitor), c.workspace),
                  c.picture)
            << c.monitor << ' ' << c.workspace;
    }
    const QString single = listing + QStringLiteral("/backdrop/single-workspace-mode  true\n"
                                                    "/backdrop/single-workspace-number  1\n");
    EXPECT_EQ(DesktopWallpaper::xfcePicture(single, QStringLiteral("DP-1"), 0),
              some("/home/u/My Pictures/dp1.png"));
    EXPECT_EQ(DesktopWallpaper::xfcePicture(QString(), QStringLiteral("DP-1"), 0), std::nullopt);
}

class LinuxWallpaperTest : public TempHome {
protected:
    LinuxWallpaper wallpaper(Desktop desktop)
    {
        return LinuxWallpaper(m_runner,
                              {desktop, QStringLiteral("/usr/bin/gsettings"),
                               QStringLiteral("/usr/bin/xfconf-query"), m_paths.configHome},
                              nullptr);
    }

    FakeProcessRunner m_runner;
};

TEST_F(LinuxWallpaperTest, EachDesktopIsAskedItsOwnWay)
{
    m_runner.answer(QStringLiteral("/usr/bin/gsettings get org.gnome.desktop.interface color-scheme"),
                    QStringLiteral("'prefer-dark'\n"));
    m_runner.answer(QStringLiteral("/usr/bin/gsettings get org.gnome.desktop.background picture-uri-dark"),
                    QStringLiteral("'file:///d.png'\n"));
    m_runner.answer(QStringLiteral("/usr/bin/xfconf-query -c xfce4-desktop -l -v"),
                    QStringLiteral("/backdrop/screen0/monitoreDP-1/workspace0/last-image /x.jpg\n"));
    EXPECT_EQ(wallpaper(Desktop::gnome).pictureFile(QString()), some("/d.png"));
    EXPECT_EQ(wallpaper(Desktop::xfce).pictureFile(QStringLiteral("eDP-1")), some("/x.jpg"));
    EXPECT_EQ(wallpaper(Desktop::plasma).pictureFile(QString()), std::nullopt) << "no configuration file";
    EXPECT_EQ(wallpaper(Desktop::unknown).pictureFile(QString()), std::nullopt);
}

TEST_F(LinuxWallpaperTest, APlasmaWallpaperPackageNamesOneOfItsPictures)
{
    const QString package = m_paths.home + QStringLiteral("/wallpapers/Next");
    writeFile(m_paths.home + QStringLiteral("/wallpapers/Next/metadata.json"), "{}");
    writeFile(m_paths.home + QStringLiteral("/wallpapers/Next/contents/images/5120x2880.png"), "png");
    writeFile(m_paths.home + QStringLiteral("/wallpapers/Next/contents/images/1920x1080.png"), "png");
    writeFile(m_paths.home + QStringLiteral("/.config/plasma-org.kde.plasma.desktop-appletsrc"),
              "[Containments][1]\nlastScreen=0\n\n[Containments][1][Wallpaper][org.kde.image][General]"
              "\nImage=file://" +
                  package.toUtf8() + "/\n");
    EXPECT_EQ(wallpaper(Desktop::plasma).pictureFile(QString()),
              package + QStringLiteral("/contents/images/1920x1080.png"));

    writeFile(m_paths.home + QStringLiteral("/.config/plasma-org.kde.plasma.desktop-appletsrc"),
              "[Containments][1][Wallpaper][org.kde.image][General]\nImage=" + m_paths.home.toUtf8() +
                  "/empty\n");
    writeFile(m_paths.home + QStringLiteral("/empty/metadata.json"), "{}");
    EXPECT_EQ(wallpaper(Desktop::plasma).pictureFile(QString()), std::nullopt)
        << "a package without pictures";
}

} // namespace
