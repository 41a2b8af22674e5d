#include "transfer/DeckTransfer.h"

#include "commands/DeckCommands.h"
#include "core/CanonicalJson.h"
#include "model/TileCoding.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "support/FakeApplicationNames.h"
#include "support/StoreFixture.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>
#include <QTimeZone>

namespace {

Tile tile(int number, std::optional<TileAction> action, TileIcon icon = {})
{
    return Tile{QUuid(QStringLiteral("00000000-0000-0000-0000-%1").arg(number, 12, 10, QLatin1Char('0'))),
                {},
                std::move(icon),
                std::move(action)};
}

TileAction script()
{
    return TileAction{TileAction::RunScript{QStringLiteral("true"), false}};
}

TileIcon custom(const QString& name)
{
    return TileIcon{TileIcon::Custom{name}};
}

DeckTransfer::DeckFile fixtureDeck()
{
    DeckTransfer::DeckFile deck;
    deck.exportedAt = QDateTime(QDate(2026, 3, 1), QTime(9, 30, 0, 500), QTimeZone::utc());
    deck.gridColumns = 4;
    deck.gridRows = 3;
    Tile app = tile(1, TileAction{TileAction::LaunchApp{QStringLiteral("/Applications/Safari.app")}},
                    custom(QStringLiteral("logo.png")));
    app.label = QStringLiteral("Café");
    deck.pages = {{app, tile(2, std::nullopt)}};
    deck.icons = {{QStringLiteral("logo.png"), QByteArray("\xff\xfe\x3f")}, {QStringLiteral("a.png"), "A"}};
    deck.revision = 7;
    deck.sourceDevice = QStringLiteral("D");
    deck.sourceName = QStringLiteral("Ana’s Mac");
    return deck;
}

// Accepts every image as a PNG of its own bytes, except bytes that say they are none.
std::optional<DeckTransfer::VettedIcon> acceptAll(const QByteArray& bytes)
{
    if (bytes == "not an image")
        return std::nullopt;
    return DeckTransfer::VettedIcon{bytes, QStringLiteral("png")};
}

QJsonObject fixtureJson()
{
    return TileCoding::parse(DeckTransfer::encode(fixtureDeck()))->toObject();
}

QByteArray with(const QString& key, const QJsonValue& value)
{
    QJsonObject object = fixtureJson();
    if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
    return CanonicalJson::write(object);
}

} // namespace

TEST(DeckFileEncodingTest, WritesTheExactBytes)
{
    const QByteArray expected =
        R"({"app":"Marquetto","exportedAt":"2026-03-01T09:30:00Z","format":1,"gridColumns":4,"gridRows":3,)"
        R"("icons":{"a.png":"QQ==","logo.png":"\/\/4\/"},"pages":[[{"action":{"launchApp":{"path":)"
        R"("\/Applications\/Safari.app"}},"icon":{"custom":{"fileName":"logo.png"}},"id":)"
        R"("00000000-0000-0000-0000-000000000001","label":"Café"},{"icon":{"auto":{}},"id":)"
        R"("00000000-0000-0000-0000-000000000002","label":""}]],"revision":7,"sourceDevice":"D",)"
        R"("sourceName":"Ana’s Mac"})";
    EXPECT_EQ(DeckTransfer::encode(fixtureDeck()), expected);

    DeckTransfer::DeckFile roundTrip = fixtureDeck();
    roundTrip.exportedAt = roundTrip.exportedAt.addMSecs(-500);
    EXPECT_EQ(*DeckTransfer::decode(expected), roundTrip);
}

TEST(DeckFileEncodingTest, RefusesWhatIsNoCompleteDeckOfAKnownFormat)
{
    using DeckTransfer::TransferError;
    QJsonObject tooManyTiles = fixtureJson();
    QJsonArray bigPage;
    for (int i = 0; i <= DeckTransfer::maxTilesPerPage; ++i)
        bigPage.append(TileCoding::encode(tile(i, std::nullopt)));
    const struct {
        const char* name;
        QByteArray bytes;
        TransferError error;
    } cases[] = {
        {"not JSON", "{\"format\":1,", TransferError::unreadable},
        {"format 2 and nothing else", R"({"format":2})", TransferError::newerFormat},
        {"format as text", with(QStringLiteral("format"), QStringLiteral("1")), TransferError::unreadable},
        {"format 1.5", with(QStringLiteral("format"), 1.5), TransferError::unreadable},
        {"no export date", with(QStringLiteral("exportedAt"), QJsonValue::Undefined),
         TransferError::unreadable},
        {"fractional seconds", with(QStringLiteral("exportedAt"), QStringLiteral("2026-03-01T09:30:00.5Z")),
         TransferError::unreadable},
        {"an offset", with(QStringLiteral("exportedAt"), QStringLiteral("2026-03-01T09:30:00+01:00")),
         TransferError::unreadable},
        {"Base64 garbage",
         with(QStringLiteral("icons"), QJsonObject{{QStringLiteral("a.png"), QStringLiteral("QQ=*")}}),
         TransferError::unreadable},
        {"Base64 without padding",
         with(QStringLiteral("icons"), QJsonObject{{QStringLiteral("a.png"), QStringLiteral("QQ")}}),
         TransferError::unreadable},
        {"a page of 65 slots", with(QStringLiteral("pages"), QJsonArray{bigPage}), TransferError::unreadable},
        {"a bad tile", with(QStringLiteral("pages"), QJsonArray{QJsonArray{1}}), TransferError::unreadable},
    };
    for (const auto& c : cases) {
        const auto decoded = DeckTransfer::decode(c.bytes);
        ASSERT_FALSE(decoded) << c.name;
        EXPECT_EQ(decoded.error(), c.error) << c.name;
    }
}

class DeckTransferTest : public StoreFixture {
protected:
    // What the picture helper does for the companion, in this process.
    std::function<std::optional<Pages>(const QByteArray&)> iconStorer()
    {
        return [this](const QByteArray& file) -> std::optional<Pages> {
            const auto prepared = DeckTransfer::prepare(file);
            if (!prepared)
                return std::nullopt;
            return DeckTransfer::storeIcons(prepared->deck, m_paths.iconsDir(), m_clock.now(), &acceptAll);
        };
    }

    void SetUp() override
    {
        writeFile(m_paths.tilesFile(), TileCoding::layoutBytes({{snippetTile(QStringLiteral("old"))}}));
        makeStore();
    }

    // The companion's command line run in this process, its answers read from `in`.
    int runCompanion(QIODevice& in, const QStringList& arguments, QString& out, QString& err,
                     bool inIsTerminal = false)
    {
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        FakeApplicationNames names;
        DeckCommands::Context context{.store = *m_store,
                                      .settings = *m_settings,
                                      .names = names,
                                      .runner = {},
                                      .in = in,
                                      .out = outStream,
                                      .err = errStream,
                                      .wordings = &linuxWordings(),
                                      .inIsTerminal = inIsTerminal,
                                      .storeDeckIcons = iconStorer()};
        return DeckCommands::run(context, arguments);
    }

    DeckTransfer::LocalDeck local() { return {*m_store, *m_settings, m_paths.iconsDir(), m_clock}; }

    QString deckFile(const DeckTransfer::DeckFile& deck)
    {
        const QString path = m_dir.filePath(QStringLiteral("in.marquetto"));
        writeFile(path, DeckTransfer::encode(deck));
        return path;
    }

    // Every file under the home, so a file written anywhere else than the icons folder shows.
    QStringList allFiles() const
    {
        QStringList files;
        QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }
};

TEST_F(DeckTransferTest, CountsTilesPagesAndScriptsAndWordsTheQuestion)
{
    DeckTransfer::DeckFile deck = fixtureDeck();
    const TileAction scene{TileAction::Sequence{{script(), TileAction{TileAction::NowPlaying{}}, script()}}};
    deck.pages = {{tile(1, scene), tile(2, script())}, {}};
    const auto prepared = DeckTransfer::read(deckFile(deck));
    ASSERT_TRUE(prepared);
    EXPECT_EQ(prepared->tileCount, 2);
    EXPECT_EQ(prepared->pageCount, 2);
    EXPECT_EQ(prepared->scriptTileCount, 3);
    // The singular wording is the deck commands' to check; here the plurals.
    const auto many = DeckTransfer::importConfirmation(*prepared, linuxWordings());
    EXPECT_TRUE(many.alert.informativeText.startsWith(u"It has 2 tiles on 2 pages."))
        << many.alert.informativeText.toStdString();
    EXPECT_TRUE(many.alert.informativeText.contains(u"3 of them run scripts on this computer."));
    EXPECT_TRUE(many.isWarning);

    deck.pages = {{tile(1, std::nullopt)}, {tile(2, std::nullopt)}};
    EXPECT_EQ(DeckTransfer::read(deckFile(deck)).error(), DeckTransfer::TransferError::empty);
}

TEST_F(DeckTransferTest, RefusesAHugeFileWithoutReadingIt)
{
    const QString path = m_dir.filePath(QStringLiteral("huge.marquetto"));
    QFile huge(path);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(200LL * 1024 * 1024));
    EXPECT_EQ(DeckTransfer::read(path).error(), DeckTransfer::TransferError::unreadable);
}

TEST_F(DeckTransferTest, StoresOnlyPlainNamesAndNothingOutsideTheIconsFolder)
{
    const QStringList unsafe{QStringLiteral("Logo 1.png"),
                             QStringLiteral("logo_1.PNG"),
                             QStringLiteral("../evil.png"),
                             QStringLiteral("a/b.png"),
                             QStringLiteral("x") + QChar() + QStringLiteral(".png"),
                             QString(296, u'a') + QStringLiteral(".png"),
                             QStringLiteral("..")};
    DeckTransfer::DeckFile deck = fixtureDeck();
    deck.pages = {{tile(0, script(), custom(QStringLiteral("logo_1.png"))),
                   tile(1, script(), custom(QStringLiteral("broken.png"))),
                   tile(2, script(), custom(QStringLiteral("missing.png")))}};
    deck.icons = {{QStringLiteral("logo_1.png"), "plain"}, {QStringLiteral("broken.png"), "not an image"}};
    for (int i = 0; i < unsafe.size(); ++i) {
        deck.pages[0].push_back(tile(10 + i, script(), custom(unsafe[i])));
        deck.icons.emplace(unsafe[i], QByteArray("unsafe ") + QByteArray::number(i));
    }
    const QStringList before = allFiles();
    const Pages pages = DeckTransfer::storeIcons(deck, m_paths.iconsDir(), m_clock.now(), &acceptAll);

    EXPECT_EQ(pages[0][0].icon, custom(QStringLiteral("logo_1.png")));
    EXPECT_TRUE(pages[0][1].icon.isAuto());
    EXPECT_TRUE(pages[0][2].icon.isAuto());
    for (size_t i = 3; i < pages[0].size(); ++i) {
        const QString stored = pages[0][i].icon.as<TileIcon::Custom>()->fileName;
        EXPECT_TRUE(stored.contains(QRegularExpression(QStringLiteral("^[0-9a-f]{64}\\.png$"))))
            << stored.toStdString();
    }
    QStringList added = allFiles();
    for (const QString& file : before)
        added.removeOne(file);
    EXPECT_EQ(added.size(), 1 + unsafe.size());
    for (const QString& file : added)
        EXPECT_EQ(QFileInfo(file).path(), m_paths.iconsDir()) << file.toStdString();
}

TEST_F(DeckTransferTest, ASecondImportReusesTheFilesAndRefreshesTheirDates)
{
    DeckTransfer::DeckFile deck = fixtureDeck();
    deck.pages = {{tile(0, script(), custom(QStringLiteral("logo.png")))}};
    const QString path = m_paths.iconsDir() + QStringLiteral("/logo.png");
    (void)DeckTransfer::storeIcons(deck, m_paths.iconsDir(), m_clock.now(), &acceptAll);
    const QStringList first = QDir(m_paths.iconsDir()).entryList(QDir::Files);
    m_clock.advance(86400 * 30);
    // The very bytes already there are not decoded again.
    int vetted = 0;
    const DeckTransfer::Vet counting = [&vetted](const QByteArray& bytes) {
        ++vetted;
        return acceptAll(bytes);
    };
    EXPECT_EQ(DeckTransfer::storeIcons(deck, m_paths.iconsDir(), m_clock.now(), counting), deck.pages);
    EXPECT_EQ(vetted, 0);
    EXPECT_EQ(QDir(m_paths.iconsDir()).entryList(QDir::Files), first);
    EXPECT_EQ(QFileInfo(path).lastModified(), m_clock.now());

    writeFile(path, "another picture");
    const Pages pages = DeckTransfer::storeIcons(deck, m_paths.iconsDir(), m_clock.now(), counting);
    EXPECT_EQ(vetted, 1);
    EXPECT_EQ(readFile(path), "another picture");
    EXPECT_NE(pages[0][0].icon, custom(QStringLiteral("logo.png")));
}

TEST_F(DeckTransferTest, ApplyReplacesTheDeckAfterBackingUpAnUnsavedEdit)
{
    m_settings->setGrid(4, 3);
    m_store->savePendingChange();
    // In the same second as that save, whose backup holds the layout before it.
    m_store->set(snippetTile(QStringLiteral("unsaved edit")), 0, 1);
    DeckTransfer::DeckFile deck = fixtureDeck();
    deck.pages = {{snippetTile(QStringLiteral("imported"))}};
    const struct {
        DeckTransfer::Grid grid;
        bool changes;
    } cases[] = {{{4, 3}, false}, {{3, 4}, true}, {{5, 5}, false}};
    for (const auto& c : cases) {
        deck.gridColumns = c.grid.columns;
        deck.gridRows = c.grid.rows;
        Pages pages = DeckTransfer::storeIcons(deck, m_paths.iconsDir(), m_clock.now(), &acceptAll);
        EXPECT_EQ(DeckTransfer::replaceDeck(std::move(pages), deck.grid(), *m_store, *m_settings), c.changes)
            << c.grid.columns << "x" << c.grid.rows;
        m_clock.advance(1);
    }
    EXPECT_EQ(m_settings->gridColumns(), 3);
    EXPECT_EQ(m_settings->gridRows(), 4);
    EXPECT_EQ(m_store->tile(0, 0).action, snippetTile(QStringLiteral("imported")).action);
    EXPECT_FALSE(m_store->isSavePending());
    bool editKept = false;
    for (const auto& backup : m_store->backups().availableBackups())
        editKept = editKept || readFile(backup.path).contains("unsaved edit");
    EXPECT_TRUE(editKept);
}

TEST_F(DeckTransferTest, CompanionImportsOnlyWhenConfirmed)
{
    DeckTransfer::DeckFile deck = fixtureDeck();
    deck.pages = {{snippetTile(QStringLiteral("imported"))}};
    const QString path = deckFile(deck);
    QBuffer noAnswer;
    noAnswer.open(QIODevice::ReadOnly);
    const auto run = [&](const QStringList& arguments, QString& out, QString& err) {
        return runCompanion(noAnswer, arguments, out, err);
    };
    QString out;
    QString err;
    EXPECT_EQ(run({QStringLiteral("import"), path}, out, err), DeckCommands::failure);
    EXPECT_TRUE(out.startsWith(u"Replace your layout with this deck?\nIt has 1 tile on 1 page."))
        << out.toStdString();
    EXPECT_EQ(m_store->tile(0, 0).action, snippetTile(QStringLiteral("old")).action);

    writeFile(path, R"({"format":2})");
    EXPECT_EQ(run({QStringLiteral("import"), path, QStringLiteral("--yes")}, out, err),
              DeckCommands::failure);
    EXPECT_TRUE(err.contains(u"That deck was made by a newer version of Marquetto.")) << err.toStdString();

    writeFile(path, DeckTransfer::encode(deck));
    EXPECT_EQ(run({QStringLiteral("import"), path, QStringLiteral("--yes")}, out, err),
              DeckCommands::success);
    EXPECT_EQ(m_store->tile(0, 0).action, snippetTile(QStringLiteral("imported")).action);
}

namespace {

// A person answering "y" at the prompt, while something else replaces the file under the question.
class AnswerWhileFileChanges final : public QBuffer {
public:
    explicit AnswerWhileFileChanges(std::function<void()> change)
        : m_change(std::move(change))
    {
        setData("y\n");
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char* data, qint64 size) override
    {
        if (m_change)
            std::exchange(m_change, nullptr)();
        return QBuffer::readData(data, size);
    }

private:
    std::function<void()> m_change;
};

} // namespace

TEST_F(DeckTransferTest, CompanionAppliesTheDeckItShowedEvenWhenTheFileChangesWhileItAsks)
{
    DeckTransfer::DeckFile shown = fixtureDeck();
    shown.pages = {{snippetTile(QStringLiteral("shown"))}};
    DeckTransfer::DeckFile swapped = shown;
    swapped.pages = {
        {snippetTile(QStringLiteral("swapped")), snippetTile(QStringLiteral("more")), tile(9, script())}};
    const QString path = deckFile(shown);
    AnswerWhileFileChanges in([&] { writeFile(path, DeckTransfer::encode(swapped)); });
    QString out;
    QString err;
    EXPECT_EQ(runCompanion(in, {QStringLiteral("import"), path}, out, err, true), DeckCommands::success)
        << err.toStdString();
    EXPECT_TRUE(out.contains(u"It has 1 tile on 1 page.")) << out.toStdString();
    EXPECT_EQ(m_store->tile(0, 0).action, snippetTile(QStringLiteral("shown")).action);
    EXPECT_FALSE(m_store->tile(0, 1).action);
}
