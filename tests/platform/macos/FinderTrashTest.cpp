#include "platform/macos/FinderTrash.h"

#include "core/BackgroundQueue.h"
#include "support/FakeProcessRunner.h"
#include "support/FakeWorkspace.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

namespace {

class FinderTrashTest : public TempHome {
protected:
    FakeProcessRunner m_runner;
    FakeWorkspace m_workspace;
};

TEST_F(FinderTrashTest, TheFinderOpensAndEmptiesTheTrash)
{
    const QString open = QStringLiteral("tell application \"Finder\"\nactivate\nopen trash\nend tell");
    m_runner.answer(QStringLiteral("/usr/bin/osascript -e ") + open, QString());
    FinderTrash trash(m_runner, m_workspace, m_paths.home, m_paths.home + QStringLiteral("/Volumes"));
    trash.open();
    BackgroundQueue::waitForDone();
    QCoreApplication::sendPostedEvents();
    trash.empty();

    EXPECT_EQ(m_runner.calls(),
              (std::vector<FakeProcessRunner::Call>{
                  {QStringLiteral("/usr/bin/osascript"), {QStringLiteral("-e"), open}, true},
                  {QStringLiteral("/usr/bin/osascript"),
                   {QStringLiteral("-e"), QStringLiteral("tell application \"Finder\" to empty trash")},
                   false}}));
    EXPECT_TRUE(m_workspace.opened.empty());
}

TEST_F(FinderTrashTest, WhenTheScriptCannotRunTheHomeTrashFolderOpens)
{
    FinderTrash trash(m_runner, m_workspace, m_paths.home);
    trash.open();
    BackgroundQueue::waitForDone();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_workspace.opened,
              (std::vector<QUrl>{QUrl::fromLocalFile(m_paths.home + QStringLiteral("/.Trash"))}));
}

TEST_F(FinderTrashTest, OtherVolumesMakeTheLocationsInexact)
{
    QDir().mkpath(m_paths.home + QStringLiteral("/.Trash"));
    QDir().mkpath(m_paths.home + QStringLiteral("/Volumes/Backup"));
    FinderTrash trash(m_runner, m_workspace, m_paths.home, m_paths.home + QStringLiteral("/Volumes"));
    EXPECT_EQ(trash.locations(), (Trash::Locations{{m_paths.home + QStringLiteral("/.Trash")}, true}));
}

} // namespace
