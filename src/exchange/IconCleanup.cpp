#include "IconCleanup.h"

#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString holdFile(const AppPaths& paths)
{
    return paths.supportDir() + QStringLiteral("/icon-cleanup-hold");
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
