#include "FinderTrash.h"

#include "core/BackgroundQueue.h"
#include "platform/Programs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

FinderTrash::FinderTrash(ProcessRunner& runner, Workspace& workspace, QString home, QString volumes)
    : m_runner(runner)
    , m_workspace(workspace)
    , m_home(std::move(home))
    , m_volumes(std::move(volumes))
{
}

Trash::Locations FinderTrash::locations() const
{
    Locations locations;
    locations.folders = distinctFolders(
        {m_home + QStringLiteral("/.Trash"), m_home + QStringLiteral("/Library/Mobile Documents/.Trash")});
    const QString startUp = QFileInfo(QStringLiteral("/")).canonicalFilePath();
    for (const QFileInfo& volume : QDir(m_volumes).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (volume.canonicalFilePath() != startUp)
            locations.skipped = true;
    }
    return locations;
}

void FinderTrash::open()
{
    const QString script = QStringLiteral("tell application \"Finder\"\nactivate\nopen trash\nend tell");
    BackgroundQueue::runThenReport<bool>(
        QCoreApplication::instance(),
        [&runner = m_runner, script] {
            return runner.capture(Programs::osascript(), {QStringLiteral("-e"), script}).has_value();
        },
        [&workspace = m_workspace, trash = m_home + QStringLiteral("/.Trash")](bool ran) {
            if (!ran)
                workspace.open(QUrl::fromLocalFile(trash));
        });
}

void FinderTrash::empty()
{
    m_runner.fireAndForget(
        Programs::osascript(),
        {QStringLiteral("-e"), QStringLiteral("tell application \"Finder\" to empty trash")});
}
