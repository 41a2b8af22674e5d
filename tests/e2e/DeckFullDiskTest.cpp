#include "core/AppPaths.h"
#include "model/LayoutBackups.h"
#include "model/LayoutFile.h"
#include "support/DeckProcess.h"
#include "support/DrillFiles.h"
#include "support/FakeClock.h"
#include "support/PrivateSession.h"
#include "support/RunningDeck.h"
#include "support/TmpfsMount.h"
#include "support/XvfbSession.h"
#include "transfer/DeckTransfer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The deck's files on a file system that stops taking writes while the deck runs: full, or remounted
// read-only. Saving a tile, restoring a backup, importing a deck and taking the other machine's deck must
// then fail out loud, keep the last saved layout as it was and never bring the deck down; once the file
// system takes writes again, the next save works.
namespace {

enum class Breakage { full, readOnly };

using DrillFiles::contentsOf;

QByteArray tileJson(const QString& label)
{
    return QStringLiteral(R"({"label":"%1","icon":{"auto":{}},"action":{"snippet":{"text":"%1"}}})")
        .arg(label)
        .toUtf8();
}

QStringList setCommand(int slot)
{
    return {QStringLiteral("set"), QStringLiteral("0"), QString::number(slot), QStringLiteral("-")};
}

class DeckOnBrokenDisk : public ::testing::TestWithParam<Breakage>, protected DrillMachines {
protected:
    void SetUp() override
    {
        const QStringList missing = XvfbSession::missingPrograms(false);
        if (!missing.isEmpty())
            GTEST_SKIP() << "needs " << missing.join(u", ").toStdString();
        // Everything the deck writes lives below these two folders; both point into the small file system.
        ASSERT_TRUE(QDir(m_homeB.path()).mkpath(QStringLiteral("volume")));
        if (!m_volume.mount(4 * 1024 * 1024))
            GTEST_SKIP() << "mounting a tmpfs is not allowed here: " << m_volume.error().toStdString();
        const QDir home(m_homeB.path());
        ASSERT_TRUE(home.mkpath(QStringLiteral("volume/share")) &&
                    home.mkpath(QStringLiteral("volume/config")) && home.mkpath(QStringLiteral(".local")));
        ASSERT_TRUE(QFile::link(home.filePath(QStringLiteral("volume/share")),
                                home.filePath(QStringLiteral(".local/share"))));
        ASSERT_TRUE(QFile::link(home.filePath(QStringLiteral("volume/config")),
                                home.filePath(QStringLiteral(".config"))));
        ASSERT_TRUE(m_session.isReady()) << m_session.error().toStdString();
        ASSERT_TRUE(m_x.start()) << m_x.error().toStdString();
    }

    [[nodiscard]] QString filler() const { return m_homeB.filePath(QStringLiteral("volume/filler")); }

    void breakDisk()
    {
        if (GetParam() == Breakage::full)
            ASSERT_TRUE(TmpfsMount::fill(filler()));
        else
            ASSERT_TRUE(m_volume.setReadOnly(true)) << m_volume.error().toStdString();
    }

    void mendDisk()
    {
        if (GetParam() == Breakage::full)
            ASSERT_TRUE(QFile::remove(filler()));
        else
            ASSERT_TRUE(m_volume.setReadOnly(false)) << m_volume.error().toStdString();
    }

    // A deck file of the current layout with one tile changed.
    [[nodiscard]] QString deckFileWith(const QString& label) const
    {
        const QString path = m_files.filePath(QStringLiteral("deck.marquetto"));
        must(m_b, {QStringLiteral("export"), path});
        const QByteArray changed = contentsOf(path).replace("first", label.toUtf8());
        EXPECT_TRUE(DeckTransfer::decode(changed)) << changed.toStdString();
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(changed);
        return path;
    }

    TmpfsMount m_volume{m_homeB.filePath(QStringLiteral("volume"))};
    PrivateSession m_session;
    XvfbSession m_x{{{1280, 800}, false}};
    RunningDeck m_deck{QStringLiteral(MARQUETTO_PATH), m_homeB.path()};
};

TEST_P(DeckOnBrokenDisk, EveryChangeFailsOutLoudAndTheSavedLayoutStaysUntilTheDiskTakesWritesAgain)
{
    must(m_a, setCommand(0), tileJson(QStringLiteral("first")));
    must(m_a, {QStringLiteral("sync"), QStringLiteral("on"), m_drive.path(), QStringLiteral("--keep-local")});
    must(m_b, {QStringLiteral("sync"), QStringLiteral("on"), m_drive.path(), QStringLiteral("--use-shared")});
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    must(m_b, setCommand(1), tileJson(QStringLiteral("saved")));
    const QByteArray saved = contentsOf(m_b.tilesFile());
    const FakeClock clock;
    const auto backups = LayoutBackups(m_b.tilesFile(), m_b.backupsDir(), clock).availableBackups();
    ASSERT_FALSE(backups.empty());
    const QString importFile = deckFileWith(QStringLiteral("imported"));
    ASSERT_FALSE(HasFailure());

    breakDisk();
    const QByteArray preferences = contentsOf(m_b.preferencesFile());
    const auto refused = [&](const QStringList& command) {
        SCOPED_TRACE(command.join(u' ').toStdString());
        const DeckRun run = runDeck(m_b.home, command, tileJson(QStringLiteral("unsaved")));
        EXPECT_EQ(run.status, 1) << run.out.toStdString();
        EXPECT_EQ(run.err, "marquetto-deck: Couldn't save the deck; it is unchanged on disk.\n");
        EXPECT_EQ(contentsOf(m_b.tilesFile()), saved);
        EXPECT_EQ(contentsOf(m_b.preferencesFile()), preferences);
        EXPECT_TRUE(m_deck.answers()) << m_deck.log().toStdString();
    };
    // What the status menu says while the layout is not saved, or null.
    const auto saveProblem = [this] {
        return QJsonDocument::fromJson(runDeck(m_b.home, {QStringLiteral("state")}).out)
            .object()
            .value(QStringLiteral("saveProblem"));
    };
    const QStringList syncNow{QStringLiteral("sync"), QStringLiteral("now")};
    EXPECT_TRUE(saveProblem().isNull());
    refused(setCommand(3));
    EXPECT_TRUE(saveProblem().toString().startsWith(u"Layout not saved: "))
        << saveProblem().toString().toStdString();
    refused({QStringLiteral("restore"), backups.front().path});
    refused({QStringLiteral("import"), importFile, QStringLiteral("--yes")});
    // B's unsaved edits go up to the folder; then the other machine's news comes down and cannot be stored.
    refused(syncNow);
    must(m_a, syncNow);
    must(m_a, setCommand(2), tileJson(QStringLiteral("from A")));
    must(m_a, syncNow);
    refused(syncNow);
    EXPECT_TRUE(m_deck.log().contains("Marquetto: couldn't save the layout:")) << m_deck.log().toStdString();
    // No half-written file is left behind, under any name.
    for (const QString& folder : {m_b.supportDir(), m_b.backupsDir(), m_b.configDir()}) {
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden)) {
            EXPECT_TRUE(QJsonDocument::fromJson(contentsOf(file.filePath())).isArray() ||
                        file.filePath() == m_b.preferencesFile())
                << file.filePath().toStdString();
        }
    }
    // A deck that quits or starts again on such a disk keeps the saved layout.
    m_deck.stop();
    ASSERT_TRUE(m_deck.start()) << m_deck.log().toStdString();
    EXPECT_EQ(contentsOf(m_b.tilesFile()), saved);
    EXPECT_TRUE(QJsonDocument::fromJson(preferences).isObject());

    mendDisk();
    must(m_b, setCommand(4), tileJson(QStringLiteral("after")));
    const auto layout = LayoutFile::decode(contentsOf(m_b.tilesFile()));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->pages.front()[4].label, QStringLiteral("after"));
    EXPECT_TRUE(saveProblem().isNull());
    EXPECT_TRUE(m_deck.isRunning());
}

INSTANTIATE_TEST_SUITE_P(Breakages, DeckOnBrokenDisk, ::testing::Values(Breakage::full, Breakage::readOnly),
                         [](const ::testing::TestParamInfo<Breakage>& info) {
                             return info.param == Breakage::full ? "FullDisk" : "ReadOnly";
                         });

} // namespace
