#include "platform/linux/icons/LinuxFileIcons.h"

#include "support/TempHome.h"
#include "support/TestImages.h"

#include <QFile>
#include <QIcon>

namespace {

QByteArray png(const QColor& colour)
{
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(colour);
    return TestImages::png(image);
}

// Every test draws from an icon theme of its own, so no test depends on the themes of the machine.
class LinuxFileIconsTest : public TempHome {
protected:
    QString m_dataHome = m_dir.path() + QStringLiteral("/data");
    QStringList m_savedSearchPaths = QIcon::themeSearchPaths();
    QString m_savedTheme = QIcon::themeName();

    void SetUp() override
    {
        const QString theme = m_dir.path() + QStringLiteral("/icons/test-theme");
        writeFile(theme + QStringLiteral("/index.theme"), "[Icon Theme]\nName=Test\nDirectories=apps\n\n"
                                                          "[apps]\nSize=48\nType=Scalable\nMinSize=1\n"
                                                          "MaxSize=512\n");
        const std::pair<const char*, QColor> icons[] = {
            {"folder", Qt::green},        {"application-x-executable", Qt::blue},
            {"text-x-generic", Qt::gray}, {"image-x-generic", Qt::yellow},
            {"unknown", Qt::black},       {"editor", Qt::red},
        };
        for (const auto& [name, colour] : icons)
            writeFile(theme + QStringLiteral("/apps/") + QLatin1String(name) + QStringLiteral(".png"),
                      png(colour));
        QIcon::setThemeSearchPaths({m_dir.path() + QStringLiteral("/icons")});
        QIcon::setThemeName(QStringLiteral("test-theme"));
    }

    void TearDown() override
    {
        QIcon::setThemeSearchPaths(m_savedSearchPaths);
        QIcon::setThemeName(m_savedTheme);
    }

    [[nodiscard]] QString executable(const QString& name) const
    {
        const QString path = m_dir.path() + QStringLiteral("/bin/") + name;
        writeFile(path, "#!/bin/sh\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // The colour of the icon's centre, or nothing when there is no icon.
    [[nodiscard]] std::optional<QColor> iconColour(const QString& path)
    {
        LinuxFileIcons icons({m_dataHome});
        const std::optional<QImage> icon = icons.iconForFile(path, 64);
        if (!icon)
            return std::nullopt;
        EXPECT_EQ(icon->size(), QSize(64, 64)) << path.toStdString();
        return icon->pixelColor(32, 32);
    }
};

TEST_F(LinuxFileIconsTest, ApplicationEntriesShowTheirIcon)
{
    const QString named = m_dataHome + QStringLiteral("/applications/editor.desktop");
    writeFile(named, "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor\nIcon=editor\n");
    const QString picture = m_dir.path() + QStringLiteral("/pictures/own.png");
    writeFile(picture, png(Qt::magenta));
    const QString absolute = m_dir.path() + QStringLiteral("/own.desktop");
    writeFile(absolute,
              "[Desktop Entry]\nType=Application\nName=Own\nExec=own\nIcon=" + picture.toUtf8() + "\n");
    const QString themeLacksIt = m_dir.path() + QStringLiteral("/odd.desktop");
    writeFile(themeLacksIt, "[Desktop Entry]\nType=Application\nName=Odd\nExec=odd\nIcon=no-such-icon\n");

    EXPECT_EQ(iconColour(named), QColor(Qt::red));
    EXPECT_EQ(iconColour(absolute), QColor(Qt::magenta));
    EXPECT_EQ(iconColour(themeLacksIt), QColor(Qt::blue));
}

TEST_F(LinuxFileIconsTest, AProgramShowsTheIconOfTheEntryThatRunsIt)
{
    const QString editor = executable(QStringLiteral("editor"));
    const QString other = executable(QStringLiteral("other"));
    writeFile(m_dataHome + QStringLiteral("/applications/vendor/editor.desktop"),
              "[Desktop Entry]\nType=Application\nName=Editor\nExec=\"" + editor.toUtf8() +
                  "\" %F\nIcon=editor\n");

    EXPECT_EQ(iconColour(editor), QColor(Qt::red));
    EXPECT_EQ(iconColour(other), QColor(Qt::blue));
}

TEST_F(LinuxFileIconsTest, FilesAndFoldersShowTheIconOfTheirType)
{
    const QString text = m_dir.path() + QStringLiteral("/notes.txt");
    writeFile(text, "notes\n");
    const QString picture = m_dir.path() + QStringLiteral("/picture.png");
    writeFile(picture, png(Qt::white));
    const QString data = m_dir.path() + QStringLiteral("/data.bin");
    writeFile(data, QByteArray("\x00\x01\x02\xff\xfe", 5));

    EXPECT_EQ(iconColour(m_dir.path()), QColor(Qt::green));
    EXPECT_EQ(iconColour(text), QColor(Qt::gray));
    EXPECT_EQ(iconColour(picture), QColor(Qt::yellow));
    EXPECT_EQ(iconColour(data), QColor(Qt::black));
    EXPECT_EQ(iconColour(m_dir.path() + QStringLiteral("/missing.txt")), std::nullopt);
}

} // namespace
