#include "platform/linux/icons/LinuxFileIcons.h"

#include "core/ProgramFile.h"
#include "platform/linux/desktop/DesktopFile.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace {

const QString programIcon = QStringLiteral("application-x-executable");

// An Icon value is an absolute file or a name in the icon theme.
QIcon iconFor(const QString& iconValue)
{
    if (QFileInfo(iconValue).isAbsolute())
        return QFileInfo(iconValue).isFile() ? QIcon(iconValue) : QIcon();
    return QIcon::hasThemeIcon(iconValue) ? QIcon::fromTheme(iconValue) : QIcon();
}

std::optional<QImage> render(const QString& iconValue, int pixelSize)
{
    const QIcon icon = iconFor(iconValue);
    if (icon.isNull())
        return std::nullopt;
    const QSize size(pixelSize, pixelSize);
    QImage image = icon.pixmap(size).toImage();
    if (image.isNull())
        return std::nullopt;
    // A theme without a large enough size answers a smaller picture.
    if (image.width() < pixelSize && image.height() < pixelSize)
        image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QString canonicalProgram(const QString& program)
{
    const QString path = QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace

std::unique_ptr<FileIcons> createFileIcons(const AppPaths& paths)
{
    return std::make_unique<LinuxFileIcons>(QStringList{paths.dataHome} + paths.dataDirs);
}

LinuxFileIcons::LinuxFileIcons(QStringList dataDirs)
    : m_dataDirs(std::move(dataDirs))
{
    // Without a desktop theme (a bare X session) the freedesktop base theme still answers common names.
    if (QIcon::themeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
}

std::optional<QImage> LinuxFileIcons::iconForFile(const QString& path, int pixelSize)
{
    const QFileInfo info(path);
    if (!info.exists() || pixelSize <= 0)
        return std::nullopt;
    if (info.isDir())
        return render(QStringLiteral("folder"), pixelSize);
    if (!path.endsWith(QLatin1String(".desktop")) && !ProgramFile::isProgram(path))
        return render(iconNameForFile(path), pixelSize);

    // An application whose own icon is missing still looks like a program.
    QString icon;
    if (path.endsWith(QLatin1String(".desktop"))) {
        if (const auto entry = DesktopFile::read(path))
            icon = entry->icon;
    } else {
        icon = iconNameForProgram(path);
    }
    if (auto image = icon.isEmpty() ? std::nullopt : render(icon, pixelSize))
        return image;
    return render(programIcon, pixelSize);
}

QString LinuxFileIcons::iconNameForProgram(const QString& programPath) const
{
    const QString program = QFileInfo(programPath).canonicalFilePath();
    for (const QString& dataDir : m_dataDirs) {
        QDirIterator entries(dataDir + QStringLiteral("/applications"), {QStringLiteral("*.desktop")},
                             QDir::Files, QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            const auto entry = DesktopFile::read(entries.next());
            if (!entry || entry->icon.isEmpty())
                continue;
            const auto command = entry->commandLine();
            if (command && !command->isEmpty() && canonicalProgram(command->constFirst()) == program)
                return entry->icon;
        }
    }
    return {};
}

QString LinuxFileIcons::iconNameForFile(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    for (const QString& name : {type.iconName(), type.genericIconName()}) {
        if (!name.isEmpty() && QIcon::hasThemeIcon(name))
            return name;
    }
    return type.inherits(QStringLiteral("text/plain")) ? QStringLiteral("text-x-generic")
                                                       : QStringLiteral("unknown");
}
