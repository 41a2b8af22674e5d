#include "deck/TileLibrary.h"

#include "commands/DeckCommands.h"
#include "model/TileCoding.h"
#include "platform/macos/MacTilePresets.h"
#include "support/ActionMachinery.h"
#include "support/EnvironmentGuard.h"
#include "support/FakeApplicationNames.h"
#include "support/StoreFixture.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextStream>

namespace {

const QString home = QStringLiteral("/home/someone");

const TilePreset& presetWithId(const std::vector<TilePreset>& presets, const QString& id)
{
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [&](const TilePreset& preset) { return preset.id == id; });
    if (found == presets.end())
        throw std::runtime_error("no preset " + id.toStdString());
    return *found;
}

const TileAction::RunScript& scriptOf(const TilePreset& preset)
{
    const auto* script = preset.action.as<TileAction::RunScript>();
    if (!script)
        throw std::runtime_error(preset.id.toStdString() + " runs no script");
    return *script;
}

TilePreset presetNeeding(const QString& programs)
{
    TilePreset preset = MacTilePresets::catalogue(home).front();
    preset.requiredProgram = programs;
    return preset;
}

TEST(TileLibraryTest, MakesTheCatalogueOnceAndListsEachCategoryInCatalogueOrder)
{
    int made = 0;
    const TileLibrary library([&made] {
        ++made;
        return MacTilePresets::catalogue(home);
    });
    EXPECT_EQ(made, 0) << "nothing is made before the library is opened";

    const std::vector<TilePreset>& all = library.presets();
    std::vector<QString> joinedIds;
    for (const QString& category : TileLibrary::categories()) {
        for (const TilePreset& preset : library.presets(category))
            joinedIds.push_back(preset.id);
    }
    std::vector<QString> allIds;
    for (const TilePreset& preset : all)
        allIds.push_back(preset.id);
    EXPECT_EQ(joinedIds, allIds) << "the catalogue runs category by category";
    EXPECT_TRUE(library.presets(QStringLiteral("Music")).empty());
    EXPECT_EQ(made, 1);
}

TEST(TileLibraryTest, TheMacShrugSurvivesTheShellsEscaping)
{
    const std::vector<TilePreset> presets = MacTilePresets::catalogue(home);
    // The shell's printf halves the doubled backslash: what lands on the clipboard is the blurb's shrug.
    const TilePreset& shrug = presetWithId(presets, QStringLiteral("copy-shrug"));
    QString printf = scriptOf(shrug).source;
    ASSERT_TRUE(printf.endsWith(QStringLiteral(" | pbcopy")));
    printf.chop(QStringLiteral(" | pbcopy").size());
    EXPECT_EQ(printf.count(u'\\'), 2);
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), printf});
    ASSERT_TRUE(shell.waitForFinished());
    const QString printed = QString::fromUtf8(shell.readAllStandardOutput());
    EXPECT_EQ(printed, QStringLiteral("¯\\_(ツ)_/¯"));
    EXPECT_TRUE(shrug.blurb.contains(printed));
}

class TileLibraryAvailabilityTest : public TempHome {
protected:
    void installProgram(const QString& name) const
    {
        const QString path = m_dir.path() + QStringLiteral("/bin/") + name;
        writeFile(path, "#!/bin/sh\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    EnvironmentGuard m_environment;
};

TEST_F(TileLibraryAvailabilityTest, APresetNeedsTheFirstOfItsProgramsThatPathLacks)
{
    installProgram(QStringLiteral("xclip"));
    writeFile(m_dir.path() + QStringLiteral("/bin/espeak-ng"), "not executable");
    m_environment.set("PATH", (m_dir.path() + QStringLiteral("/bin")).toUtf8());
    const TileLibrary library([] { return std::vector<TilePreset>{}; });

    EXPECT_EQ(library.missingProgram(presetNeeding({})), std::nullopt);
    EXPECT_EQ(library.missingProgram(presetNeeding(QStringLiteral("xclip"))), std::nullopt);
    EXPECT_EQ(library.missingProgram(presetNeeding(QStringLiteral("xclip espeak-ng"))),
              QStringLiteral("espeak-ng"));
    EXPECT_EQ(library.missingProgram(presetNeeding(QStringLiteral("nmcli xclip"))), QStringLiteral("nmcli"));

    installProgram(QStringLiteral("espeak-ng"));
    EXPECT_EQ(library.missingProgram(presetNeeding(QStringLiteral("xclip espeak-ng"))), std::nullopt)
        << "a program installed while the deck runs counts at once";
}

class PresetsCommandTest : public StoreFixture {
protected:
    int run(const QStringList& arguments)
    {
        m_output.clear();
        QBuffer in;
        in.open(QIODevice::ReadOnly);
        QTextStream out(&m_output);
        QTextStream err(&m_errors);
        DeckCommands::Context context{
            .store = *m_store,
            .settings = *m_settings,
            .names = m_names,
            .runner = [this]() -> ActionRunner& { return m_actions->runner; },
            .deck = nullptr,
            .in = in,
            .out = out,
            .err = err,
            .library = &m_library,
        };
        return DeckCommands::run(context, arguments);
    }

    FakeApplicationNames m_names;
    std::unique_ptr<ActionMachinery> m_actions;
    // The Mac's catalogue, its first preset needing a program this machine lacks.
    TileLibrary m_library{[] {
                              std::vector<TilePreset> presets = MacTilePresets::catalogue(home);
                              presets.front().requiredProgram = QStringLiteral("present absent");
                              return presets;
                          },
                          [](const QString& program) {
                              return program == u"present" ? QStringLiteral("/usr/bin/present") : QString();
                          }};
    QString m_output;
    QString m_errors;
};

TEST_F(PresetsCommandTest, PrintsEachPresetWithATileThatSetTakesAndItsAvailability)
{
    makeStore();
    m_actions = std::make_unique<ActionMachinery>(*m_preferences);
    ASSERT_EQ(run({QStringLiteral("presets")}), DeckCommands::success) << m_errors.toStdString();

    const QJsonArray entries = QJsonDocument::fromJson(m_output.toUtf8()).array();
    ASSERT_EQ(entries.size(), qsizetype(m_library.presets().size()));
    EXPECT_EQ(entries[0].toObject().value(QStringLiteral("available")), false);
    EXPECT_EQ(entries[0].toObject().value(QStringLiteral("needs")), QStringLiteral("absent"));

    const TilePreset& preset = m_library.presets()[4];
    const QJsonObject safari = entries[4].toObject();
    const QJsonObject tile = safari.value(QStringLiteral("tile")).toObject();
    EXPECT_FALSE(tile.contains(QStringLiteral("id"))) << "set keeps the slot's id for a tile without one";
    EXPECT_EQ(safari, (QJsonObject{
                          {QStringLiteral("id"), preset.id},
                          {QStringLiteral("name"), preset.name},
                          {QStringLiteral("category"), preset.category},
                          {QStringLiteral("available"), true},
                          {QStringLiteral("tile"), tile},
                      }));
    ASSERT_EQ(run({QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("1"),
                   QString::fromUtf8(QJsonDocument(tile).toJson())}),
              DeckCommands::success)
        << m_errors.toStdString();
    const Tile& placed = m_store->tile(0, 1);
    EXPECT_EQ(placed.label, preset.label);
    EXPECT_EQ(placed.icon, preset.icon);
    EXPECT_EQ(placed.action, preset.action);
}

} // namespace
