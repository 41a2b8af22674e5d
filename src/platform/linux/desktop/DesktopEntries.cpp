#include "platform/linux/desktop/DesktopEntries.h"

#include <QFileInfo>

namespace {

const QString suffix = QStringLiteral(".desktop");

// A folder named by part of an id must be a real child folder: "", "." and ".." would stay in place or climb
// out of the applications folder.
bool isChildName(QStringView name)
{
    return !name.isEmpty() && name != u"." && name != u"..";
}

// Looks for `id` in `dir`, or for its tail in a child folder named by its head ("foo-bar.desktop" in
// "foo/bar.desktop"). Folder names may hold "-" themselves, so every split point is tried, but only into
// folders that exist.
std::optional<QString> findBelow(const QString& dir, QStringView id)
{
    const QString direct = dir + QLatin1Char('/') + id.toString();
    if (QFileInfo(direct).isFile())
        return direct;
    const qsizetype stemEnd = id.size() - suffix.size();
    for (qsizetype dash = id.indexOf(u'-'); dash != -1 && dash < stemEnd; dash = id.indexOf(u'-', dash + 1)) {
        const QStringView folder = id.left(dash);
        if (!isChildName(folder))
            continue;
        const QString child = dir + QLatin1Char('/') + folder.toString();
        if (!QFileInfo(child).isDir())
            continue;
        if (std::optional<QString> found = findBelow(child, id.mid(dash + 1)))
            return found;
    }
    return std::nullopt;
}

} // namespace

bool DesktopEntries::isValidId(QStringView desktopId)
{
    // Qt refuses a path holding a NUL as well, but warns on every such call; here it is just a bad id.
    return desktopId.endsWith(suffix) && !desktopId.contains(u'/') && !desktopId.contains(QChar(0));
}

std::optional<QString> DesktopEntries::find(QStringView desktopId, const QStringList& dataDirs)
{
    if (!isValidId(desktopId))
        return std::nullopt;
    for (const QString& dataDir : dataDirs) {
        if (std::optional<QString> found = findBelow(dataDir + QStringLiteral("/applications"), desktopId))
            return found;
    }
    return std::nullopt;
}
