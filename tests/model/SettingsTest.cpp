#include "model/Settings.h"

#include "core/Preferences.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

class DeckSettingsTest : public TempHome {
protected:
    // Settings read from a preferences file holding `stored`.
    std::unique_ptr<DeckSettings> settingsWith(const QJsonObject& stored)
    {
        writeFile(m_paths.preferencesFile(), QJsonDocument(stored).toJson());
        m_preferences = std::make_unique<Preferences>(m_paths.preferencesFile());
        return std::make_unique<DeckSettings>(*m_preferences);
    }

    std::unique_ptr<Preferences> m_preferences;
};

TEST_F(DeckSettingsTest, AFreshInstallationReadsDefaultsAndWritesNothing)
{
    // No preferences file at all, and a file that holds no value yet.
    for (const std::optional<QByteArray>& file :
         {std::optional<QByteArray>(), std::optional<QByteArray>("{}")}) {
        QFile::remove(m_paths.preferencesFile());
        if (file)
            writeFile(m_paths.preferencesFile(), *file);
        Preferences preferences(m_paths.preferencesFile());
        const DeckSettings s(preferences);

        EXPECT_EQ(s.gridColumns(), 3);
        EXPECT_EQ(s.tileSide(), 104);
        EXPECT_EQ(exists(m_paths.preferencesFile()), file.has_value());
        if (file) {
            EXPECT_EQ(readFile(m_paths.preferencesFile()), *file);
        }
    }
}

TEST_F(DeckSettingsTest, StoredValuesAreReadAndMistypedOnesFallBack)
{
    const auto s = settingsWith({
        {QStringLiteral("gridColumns"), 4},
        {QStringLiteral("gridRows"), QStringLiteral("4")},
        {QStringLiteral("tileSize"), QStringLiteral("Large")},
        {QStringLiteral("chipStyle"), QStringLiteral("tinted")},
        {QStringLiteral("pageTransition"), QStringLiteral("sideways")},
        {QStringLiteral("showBand"), 0},
        {QStringLiteral("isPinned"), true},
        {QStringLiteral("meetingCalendars"), QJsonArray{QStringLiteral("Work"), 3}},
        {QStringLiteral("countdownDate"), 1767225600.5},
        {QStringLiteral("worldClockLabel"), QStringLiteral("Tokyo")},
    });
    EXPECT_EQ(s->gridColumns(), 4);
    EXPECT_EQ(s->gridRows(), 3);
    EXPECT_EQ(s->tileSize(), TileSizeOption::regular) << "raw values are case-sensitive";
    EXPECT_EQ(s->chipStyle(), ChipStyleOption::tinted);
    EXPECT_EQ(s->pageTransition(), PageTransitionOption::ripple);
    EXPECT_TRUE(s->showBand());
    EXPECT_TRUE(s->isPinned());
    EXPECT_TRUE(s->meetingCalendars().isEmpty());
    EXPECT_EQ(s->countdownDate(), 1767225600.5);
    EXPECT_EQ(s->worldClockLabel(), QStringLiteral("Tokyo"));
}

TEST_F(DeckSettingsTest, BandModulesEditedByHandShowEachKnownModuleOnceAndSayWhatWasDropped)
{
    using enum BandModule;
    QJsonArray thousands{QStringLiteral("memory")};
    for (int i = 0; i < 10000; ++i)
        thousands.append(i % 2 ? QStringLiteral("trash") : QStringLiteral("fax\u0001"));
    const struct {
        QJsonArray stored;
        QList<BandModule> modules;
        int logLines;
    } cases[] = {
        {{QStringLiteral("memory"), QStringLiteral("trash"), QStringLiteral("memory")}, {memory, trash}, 1},
        {thousands, {memory, trash}, 2},
        {{QStringLiteral("trash"), 7}, DeckSettings::defaultBandModules(), 1},
        {{}, {}, 0}, // a band emptied on purpose stays empty
    };
    for (const auto& c : cases) {
        const LogCapture log;
        EXPECT_EQ(settingsWith({{QStringLiteral("bandModules"), c.stored}})->bandModules(), c.modules);
        EXPECT_EQ(log.lines().size(), c.logLines) << log.lines().join(u'\n').toStdString();
    }
}

TEST_F(DeckSettingsTest, ValuesEditedByHandOutOfRangeStillOpenADeck)
{
    struct Case {
        QJsonValue columns, rows, opacity;
        int expectedColumns, expectedRows;
        double expectedOpacity;
    };
    for (const Case& c : {Case{0, -2, 7, 3, 3, 1.0}, Case{1000, 2.5, -0.5, DeckSettings::maxGridSide, 3, 0.0},
                          Case{1e300, 1, QStringLiteral("x"), 3, 1, 1.0}}) {
        const auto s = settingsWith({{QStringLiteral("gridColumns"), c.columns},
                                     {QStringLiteral("gridRows"), c.rows},
                                     {QStringLiteral("backgroundOpacity"), c.opacity}});
        EXPECT_EQ(s->gridColumns(), c.expectedColumns);
        EXPECT_EQ(s->gridRows(), c.expectedRows);
        EXPECT_EQ(s->backgroundOpacity(), c.expectedOpacity);
    }
}

TEST_F(DeckSettingsTest, ChangesArePublishedOnceAndWrittenThrough)
{
    auto s = settingsWith({});
    QList<int> published;
    QObject::connect(s.get(), &DeckSettings::gridColumnsChanged, [&](int value) { published << value; });
    s->setGridColumns(4);
    s->setGridColumns(4);
    s->setBandModules({BandModule::trash});
    s->setTileSize(TileSizeOption::large);
    s->setCompact(true);
    EXPECT_EQ(published, QList<int>{4});

    Preferences reread(m_paths.preferencesFile());
    EXPECT_EQ(reread.intValue(QStringLiteral("gridColumns")), 4);
    EXPECT_EQ(reread.value(QStringLiteral("bandModules")), QJsonArray{QStringLiteral("trash")});
    EXPECT_EQ(reread.stringValue(QStringLiteral("tileSize")), QStringLiteral("large"));
    EXPECT_EQ(DeckSettings(reread).isCompact(), true);
}
