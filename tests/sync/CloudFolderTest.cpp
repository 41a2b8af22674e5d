#include "sync/CloudFolder.h"

#include "platform/linux/desktop/LinuxWordings.h"
#include "platform/linux/system/MachineName.h"
#include "support/TempHome.h"
#include "sync/CloudTexts.h"

#include <QDir>
#include <QSysInfo>

namespace {

class CloudFolderTest : public TempHome {};

TEST_F(CloudFolderTest, SyncClientTemporaryAndConflictFilesAreRecognisedAndTheDeckIsNot)
{
    for (const char* name :
         {".syncthing.Deck.marquetto.tmp", "Deck.sync-conflict-20260305-140709-ABCDEFG.marquetto",
          "Deck (conflicted copy 2026-03-05).marquetto", "Deck.marquetto.~1f2e",
          "Deck (Ada's conflicted copy 2026-03-05).marquetto"})
        EXPECT_TRUE(CloudFolder::isSyncClientFile(QString::fromUtf8(name))) << name;
    for (const char* name :
         {"Deck.marquetto", ".Deck.marquetto.icloud", "syncthing.marquetto", "Conflict.marquetto"})
        EXPECT_FALSE(CloudFolder::isSyncClientFile(QString::fromUtf8(name))) << name;

    const QString root = m_paths.home + QStringLiteral("/Sync");
    writeFile(m_paths.home + QStringLiteral("/Sync/Marquetto/Deck.sync-conflict-1.marquetto"), "kept");
    EXPECT_FALSE(CloudFolder::isBeingDownloaded(root)) << "a conflict copy is not a download";
    writeFile(m_paths.home + QStringLiteral("/Sync/Marquetto/.syncthing.Deck.marquetto.tmp"), "half");
    EXPECT_TRUE(CloudFolder::isBeingDownloaded(root));
}

TEST_F(CloudFolderTest, OnlyExistingFoldersOfSyncClientsAreOfferedInTheirOrder)
{
    for (const char* name : {"Sync", "Nextcloud", "Music"})
        QDir(m_paths.home).mkdir(QString::fromUtf8(name));
    writeFile(m_paths.home + QStringLiteral("/Dropbox"), "a file, not a folder");
    EXPECT_EQ(
        CloudFolder::offeredFolders(m_paths.home),
        (QStringList{m_paths.home + QStringLiteral("/Nextcloud"), m_paths.home + QStringLiteral("/Sync")}));
    EXPECT_EQ(
        CloudFolder::placeholder(CloudFolder::macDriveRoot(QStringLiteral("/Users/ada"))),
        QStringLiteral(
            "/Users/ada/Library/Mobile Documents/com~apple~CloudDocs/Marquetto/.Deck.marquetto.icloud"));
}

TEST_F(CloudFolderTest, TheMachineIsNamedByItsPrettyNameElseItsHostName)
{
    const QString info = m_paths.home + QStringLiteral("/machine-info");
    writeFile(m_paths.home + QStringLiteral("/machine-info"),
              "CHASSIS=laptop\nPRETTY_HOSTNAME=\"Ada's \\\"Laptop\\\"\"\n");
    EXPECT_EQ(MachineName::read(info), QStringLiteral("Ada's \"Laptop\""));
    writeFile(m_paths.home + QStringLiteral("/machine-info"), "PRETTY_HOSTNAME=\n");
    EXPECT_EQ(MachineName::read(info), QSysInfo::machineHostName());
    EXPECT_EQ(MachineName::read(info + QStringLiteral(".missing")), QSysInfo::machineHostName());
}

TEST_F(CloudFolderTest, LinuxTextsNameTheFolderAndAComputerAndNothingOfTheMac)
{
    const CloudTexts linux(linuxWordings(), QStringLiteral("Nextcloud"));
    const QDateTime saved(QDate(2026, 3, 5), QTime(14, 7), Qt::UTC);
    EXPECT_EQ(linux.checking(), QStringLiteral("Checking Nextcloud…"));

    const Alert question = linux.question({}, 12, saved);
    QStringList said{question.message, question.informativeText, linux.updatedFrom({}, saved)};
    said << question.buttons;
    for (const auto reading : {CloudRule::Reading::unavailable, CloudRule::Reading::pending,
                               CloudRule::Reading::failed, CloudRule::Reading::newer}) {
        said << linux.status(reading) << linux.refusal(reading)->message
             << linux.refusal(reading)->informativeText;
    }
    for (const QString& text : said) {
        EXPECT_FALSE(text.contains(QStringLiteral("iCloud")) || text.contains(QStringLiteral("Mac")) ||
                     text.contains(QStringLiteral("System Settings")))
            << text.toStdString();
    }
    EXPECT_TRUE(question.informativeText.startsWith(
        QStringLiteral("Nextcloud already has a deck from another computer, with 12 tiles")));
    EXPECT_EQ(question.buttons.last(), QStringLiteral("Cancel"));
}

} // namespace
