#include "platform/linux/desktop/XdgTrash.h"

#include "support/FakeProcessRunner.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace {

class XdgTrashTest : public TempHome {
protected:
    [[nodiscard]] QString home(const QString& path) const { return m_paths.home + u'/' + path; }
    void makeFolder(const QString& path) const { QDir().mkpath(home(path)); }

    FakeProcessRunner m_runner;
};

TEST_F(XdgTrashTest, LocationsAreTheHomeTrashAndEachLocalFileSystemsOwn)
{
    const QString uid = QString::number(::getuid());
    makeFolder(QStringLiteral(".local/share/Trash/files"));
    makeFolder(QStringLiteral("usb disk/.Trash-") + uid + QStringLiteral("/files"));
    makeFolder(QStringLiteral("data/.Trash/") + uid + QStringLiteral("/files"));
    makeFolder(QStringLiteral("empty"));
    const QByteArray top = QFile::encodeName(m_paths.home);
    QByteArray mounts = "proc /proc proc rw 0 0\n";
    for (const char* line : {"tmpfs %1/tmp tmpfs", "/dev/sdb1 %1/usb\\040disk vfat", "/dev/sda2 %1/data ext4",
                             "/dev/sda2 %1/data ext4", "/dev/sda3 %1/empty ext4"})
        mounts += QByteArray(line).replace("%1", top) + " rw 0 0\n";
    writeFile(home(QStringLiteral("mounts")), mounts + "truncated\n");
    XdgTrash trash(m_runner, QString(), m_paths.dataHome, home(QStringLiteral("mounts")));

    EXPECT_EQ(trash.locations(),
              (Trash::Locations{{m_paths.dataHome + QStringLiteral("/Trash/files"),
                                 home(QStringLiteral("usb disk/.Trash-") + uid + QStringLiteral("/files")),
                                 home(QStringLiteral("data/.Trash/") + uid + QStringLiteral("/files"))},
                                false}));

    writeFile(home(QStringLiteral("mounts")), "server:/srv " + top + "/data nfs4 rw 0 0\n");
    EXPECT_TRUE(trash.locations().skipped);
    EXPECT_TRUE(
        XdgTrash(m_runner, QString(), m_paths.dataHome, home(QStringLiteral("gone"))).locations().skipped);
}

TEST_F(XdgTrashTest, GioOpensAndEmptiesTheTrash)
{
    XdgTrash trash(m_runner, QStringLiteral("/usr/bin/gio"), m_paths.dataHome,
                   QStringLiteral("/nonexistent"));
    trash.open();
    trash.empty();
    EXPECT_EQ(
        m_runner.calls(),
        (std::vector<FakeProcessRunner::Call>{
            {QStringLiteral("/usr/bin/gio"), {QStringLiteral("open"), QStringLiteral("trash:///")}, false},
            {QStringLiteral("/usr/bin/gio"), {QStringLiteral("trash"), QStringLiteral("--empty")}, false}}));
}

TEST_F(XdgTrashTest, WithoutGioTheItemsAndTheirRecordsAreRemoved)
{
    const QString trashDir = m_paths.dataHome + QStringLiteral("/Trash");
    for (const char* name : {"/files/a.txt", "/files/.hidden", "/files/folder/inner", "/info/a.txt.trashinfo",
                             "/info/folder.trashinfo", "/info/keep.me"})
        writeFile(trashDir + QString::fromLatin1(name), "x");
    writeFile(home(QStringLiteral("outside/precious")), "x");
    QFile::link(home(QStringLiteral("outside")), trashDir + QStringLiteral("/files/link"));
    XdgTrash trash(m_runner, QString(), m_paths.dataHome, QStringLiteral("/nonexistent"), ::getuid(),
                   [](const XdgTrash::Job& job) { job(); });

    trash.empty();

    EXPECT_EQ(QDir(trashDir + QStringLiteral("/files"))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList());
    EXPECT_EQ(QDir(trashDir + QStringLiteral("/info")).entryList(QDir::Files),
              QStringList{QStringLiteral("keep.me")});
    EXPECT_TRUE(exists(home(QStringLiteral("outside/precious"))));
}

} // namespace
