#include "transfer/IconCleanup.h"

#include "core/AppPaths.h"
#include "core/AtomicFile.h"
#include "core/Clock.h"
#include "core/Logging.h"
#include "model/LayoutFile.h"
#include "transfer/DeckTransfer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

QString holdFile(const AppPaths& paths)
{
    return paths.supportDir() + QStringLiteral("/icon-cleanup-hold");
}

// Names compare as the user sees them: an "é" typed on one machine and decomposed on another, or "Logo.PNG"
// and "logo.png" on a folder that ignores case, are the same icon.
QString comparable(const QString& name)
{
    return name.normalized(QString::NormalizationForm_C).toLower();
}

void addNames(const Pages& pages, QSet<QString>& names)
{
    for (const QString& name : DeckTransfer::customIconNames(pages))
        names.insert(comparable(name));
}

QString pathOf(const fs::path& path)
{
    return QFile::decodeName(path.c_str());
}

// The folder's entries, or nothing when it cannot be listed to the end.
std::optional<std::vector<fs::directory_entry>> entries(const QString& dir)
{
    std::error_code error;
    fs::directory_iterator it(QFile::encodeName(dir).toStdString(), error);
    if (error)
        return std::nullopt;
    std::vector<fs::directory_entry> listed;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            return std::nullopt;
        listed.push_back(*it);
    }
    if (error)
        return std::nullopt;
    return listed;
}

bool isBackupLayout(const QString& name)
{
    return !name.startsWith(QStringLiteral("._")) &&
           QFileInfo(name).suffix().compare(u"json", Qt::CaseInsensitive) == 0;
}

// The layout files whose icons must stay, or nothing when the backups folder leaves doubt.
std::optional<QStringList> layoutFiles(const AppPaths& paths)
{
    QStringList files{paths.tilesFile()};
    std::error_code error;
    const fs::file_status status = fs::status(QFile::encodeName(paths.backupsDir()).toStdString(), error);
    if (!fs::exists(status))
        return error && error != std::errc::no_such_file_or_directory ? std::nullopt : std::optional(files);
    if (!fs::is_directory(status))
        return std::nullopt;
    const auto listed = entries(paths.backupsDir());
    if (!listed)
        return std::nullopt;
    for (const fs::directory_entry& entry : *listed) {
        std::error_code typeError;
        const QString name = pathOf(entry.path().filename());
        if (isBackupLayout(name) && !entry.is_directory(typeError))
            files << pathOf(entry.path());
    }
    return files;
}

std::optional<QSet<QString>> referencedNames(const AppPaths& paths, const Pages& liveLayout)
{
    const auto files = layoutFiles(paths);
    if (!files) {
        qCInfo(lcStore).noquote() << "Marquetto: icon clean-up skipped: the backups folder cannot be listed";
        return std::nullopt;
    }
    QSet<QString> names;
    addNames(liveLayout, names);
    for (const QString& file : *files) {
        if (!QFileInfo::exists(file))
            continue;
        const auto bytes = AtomicFile::read(file, LayoutFile::maxBytes);
        const auto contents = bytes ? LayoutFile::decode(*bytes) : std::nullopt;
        if (!contents) {
            qCInfo(lcStore).noquote() << "Marquetto: icon clean-up skipped: cannot read the layout" << file;
            return std::nullopt;
        }
        addNames(contents->pages, names);
    }
    return names;
}

} // namespace

void IconCleanup::holdIfIconsRemain(const AppPaths& paths)
{
    const QDir icons(paths.iconsDir());
    const bool hasIcons =
        !icons.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty();
    if (!hasIcons || isHeld(paths))
        return;
    QFile hold(holdFile(paths));
    if (hold.open(QIODevice::WriteOnly))
        hold.close();
}

bool IconCleanup::isHeld(const AppPaths& paths)
{
    return QFileInfo::exists(holdFile(paths));
}

std::optional<IconCleanup::Plan> IconCleanup::plan(const AppPaths& paths, const Pages& liveLayout,
                                                   const QDateTime& now)
{
    if (QFileInfo::exists(paths.unreadableTilesFile()) || isHeld(paths))
        return std::nullopt;
    const auto referenced = referencedNames(paths, liveLayout);
    if (!referenced)
        return std::nullopt;
    const auto icons = entries(paths.iconsDir());
    if (!icons)
        return std::nullopt;

    // A link in the folder may point at a file beside it under another name; that file is in use.
    QSet<QString> linkTargets;
    for (const fs::directory_entry& entry : *icons) {
        std::error_code error;
        if (entry.is_symlink(error)) {
            const QString target = QFileInfo(pathOf(entry.path())).canonicalFilePath();
            if (!target.isEmpty())
                linkTargets.insert(target);
        }
    }

    Plan plan;
    for (const fs::directory_entry& entry : *icons) {
        std::error_code error;
        if (entry.is_symlink(error) || !entry.is_regular_file(error))
            continue;
        const QFileInfo file(pathOf(entry.path()));
        if (referenced->contains(comparable(file.fileName())) ||
            linkTargets.contains(file.canonicalFilePath()))
            continue;
        const QDateTime modified = file.lastModified();
        if (!modified.isValid() || modified.secsTo(now) < unusedAfterSeconds)
            continue;
        plan.files << file.filePath();
        plan.totalBytes += file.size();
    }
    return plan;
}

int IconCleanup::run(const AppPaths& paths, const Pages& liveLayout, const Clock& clock)
{
    const auto planned = plan(paths, liveLayout, clock.now());
    if (!planned)
        return 0;
    int removed = 0;
    for (const QString& file : planned->files) {
        if (QFile::remove(file))
            ++removed;
    }
    if (removed > 0)
        qCInfo(lcStore).noquote() << QStringLiteral("Marquetto: removed %1 unused icon files").arg(removed);
    return removed;
}
