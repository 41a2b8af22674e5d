#include "ui/settings/SettingsWindow.h"

#include "model/Settings.h"
#include "platform/linux/desktop/LinuxWordings.h"
#include "platform/macos/MacWordings.h"
#include "support/TempHome.h"
#include "support/TestDeckServices.h"
#include "sync/CloudDeck.h"
#include "ui/paint/PhosphorFont.h"
#include "ui/settings/SettingsView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>

namespace {

class SettingsWindowTest : public TempHome {
protected:
    void SetUp() override { open(linuxWordings()); }

    void open(const PlatformWordings& wordings)
    {
        m_window = std::make_unique<SettingsWindowController>(parts(wordings));
        m_window->show();
        m_view = m_window->view();
        ASSERT_TRUE(m_view);
    }

    [[nodiscard]] SettingsParts parts(const PlatformWordings& wordings)
    {
        const auto record = [this](const QString& call) { m_calls.append(call); };
        const auto named = [record](const char* call) {
            return [record, call] { record(QLatin1String(call)); };
        };
        const auto switched = [record](const char* call) {
            return [record, call](bool on) {
                record(QLatin1String(call) + (on ? QStringLiteral(" on") : QStringLiteral(" off")));
            };
        };
        return {
            .settings = m_settings,
            .cloud = m_services.root().cloudDeck(),
            .wordings = wordings,
            .font = m_font,
            .launchesAtLogin = [this] { return m_launchesAtLogin; },
            .canRestoreWindows = [this] { return m_canRestoreWindows; },
            .cloudDriveExists = [this] { return m_driveExists; },
            .backups = [this] { return m_backups; },
            .feedback = [] { return new QWidget; },
            .commands =
                {
                    .setLaunchAtLogin = switched("login"),
                    .setGrid =
                        [record](int columns, int rows) {
                            record(QStringLiteral("grid %1x%2").arg(columns).arg(rows));
                        },
                    .setTileSize =
                        [record](TileSizeOption size) { record(QStringLiteral("tiles ") + rawValue(size)); },
                    .setShowBand = switched("band"),
                    .enableWindowRestore = named("restore windows"),
                    .restoreBackup =
                        [record](const LayoutBackups::BackupEntry& entry) {
                            record(QStringLiteral("restore ") + entry.path);
                        },
                    .exportDeck = named("export"),
                    .importDeck = named("import"),
                    .setCloudDeck = switched("cloud"),
                    .chooseCloudFolder = named("choose folder"),
                    .showShortcuts = named("shortcuts"),
                    .customizeBand = named("customize band"),
                    .seeDealNow = named("deal"),
                    .previewTransition = named("transition"),
                    .resetDeckPosition = named("reset position"),
                },
        };
    }

    template <typename Widget>
    [[nodiscard]] Widget* find(const char* name) const
    {
        auto* widget = m_view->findChild<Widget*>(QLatin1String(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }

    static void choose(QComboBox& picker, int index)
    {
        picker.setCurrentIndex(index);
        Q_EMIT picker.activated(index);
    }

    TestDeckServices m_services{m_paths};
    DeckSettings& m_settings = m_services.root().settings();
    PhosphorFont m_font{QStringLiteral(MARQUETTO_PHOSPHOR_FONT),
                        QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP)};
    bool m_launchesAtLogin = false;
    bool m_canRestoreWindows = false;
    bool m_driveExists = false;
    std::vector<LayoutBackups::BackupEntry> m_backups;
    QStringList m_calls;
    std::unique_ptr<SettingsWindowController> m_window;
    SettingsView* m_view = nullptr;
};

TEST_F(SettingsWindowTest, OpeningAgainBringsTheSameWindowForwardOnTheTabAskedFor)
{
    EXPECT_TRUE(m_window->isOpen());
    EXPECT_EQ(m_window->currentTab(), QStringLiteral("General"));
    for (int i = 0; i < m_view->count(); ++i)
        EXPECT_FALSE(m_view->tabIcon(i).isNull()) << i;

    m_view->close();
    EXPECT_FALSE(m_window->isOpen());
    m_window->show(QStringLiteral("layout"));
    EXPECT_EQ(m_window->view(), m_view);
    EXPECT_TRUE(m_window->isOpen());
    EXPECT_EQ(m_window->currentTab(), QStringLiteral("Layout"));
    m_window->show(QStringLiteral("Privacy"));
    EXPECT_EQ(m_window->currentTab(), QStringLiteral("Layout")) << "an unknown tab changes nothing";
}

TEST_F(SettingsWindowTest, EveryButtonAndCommandSwitchCallsItsCommand)
{
    m_backups = {{QStringLiteral("/backups/b.json"), QDateTime::currentDateTime()}};
    m_window->reloadBackups();
    const std::vector<std::pair<const char*, QString>> buttons{
        {"enableWindowRestore", QStringLiteral("restore windows")},
        {"showShortcuts", QStringLiteral("shortcuts")},
        {"resetDeckPosition", QStringLiteral("reset position")},
        {"seeDealNow", QStringLiteral("deal")},
        {"previewTransition", QStringLiteral("transition")},
        {"customizeBand", QStringLiteral("customize band")},
        {"chooseCloudFolder", QStringLiteral("choose folder")},
        {"importDeck", QStringLiteral("import")},
        {"exportDeck", QStringLiteral("export")},
        {"restoreBackup", QStringLiteral("restore /backups/b.json")},
    };
    for (const auto& [name, call] : buttons) {
        m_calls.clear();
        if (auto* button = find<QPushButton>(name))
            button->click();
        EXPECT_EQ(m_calls, QStringList{call}) << name;
    }

    const std::vector<std::pair<const char*, QString>> switches{
        {"launchAtLogin", QStringLiteral("login on")},
        {"showBand", m_settings.showBand() ? QStringLiteral("band off") : QStringLiteral("band on")},
        {"cloudDeck", QStringLiteral("cloud on")},
    };
    for (const auto& [name, call] : switches) {
        m_calls.clear();
        if (auto* box = find<QCheckBox>(name))
            box->click();
        EXPECT_EQ(m_calls, QStringList{call}) << name;
    }
    EXPECT_FALSE(find<QCheckBox>("launchAtLogin")->isChecked()) << "the switch shows what really holds";
    EXPECT_FALSE(find<QCheckBox>("cloudDeck")->isChecked());

    m_calls.clear();
    choose(*find<QComboBox>("tileSize"), 1);
    choose(*find<QComboBox>("grid"), 2);
    EXPECT_EQ(m_calls, (QStringList{QStringLiteral("tiles large"), QStringLiteral("grid 3x4")}));
}

TEST_F(SettingsWindowTest, ControlsWriteTheirPreferencesAndFollowChangesMadeElsewhere)
{
    struct Switch {
        const char* name;
        std::function<bool()> read;
        std::function<void(bool)> write;
    };
    DeckSettings& settings = m_settings;
    const std::vector<Switch> switches{
        {"clickSound", [&] { return settings.clickSoundEnabled(); },
         [&](bool on) { settings.setClickSoundEnabled(on); }},
        {"chameleonGlass", [&] { return settings.chameleonGlass(); },
         [&](bool on) { settings.setChameleonGlass(on); }},
        {"dealAnimation", [&] { return settings.dealAnimation(); },
         [&](bool on) { settings.setDealAnimation(on); }},
        {"compact", [&] { return settings.isCompact(); }, [&](bool on) { settings.setCompact(on); }},
        {"showBand", [&] { return settings.showBand(); }, [&](bool on) { settings.setShowBand(on); }},
    };
    for (const Switch& s : switches) {
        SCOPED_TRACE(s.name);
        QCheckBox* box = find<QCheckBox>(s.name);
        ASSERT_TRUE(box);
        const bool before = s.read();
        EXPECT_EQ(box->isChecked(), before);
        if (s.name != std::string_view("showBand")) {
            box->click();
            EXPECT_EQ(s.read(), !before);
        }
        s.write(before);
        EXPECT_EQ(box->isChecked(), before);
    }

    QComboBox* transition = find<QComboBox>("pageTransition");
    choose(*transition, 1);
    EXPECT_EQ(m_settings.pageTransition(), PageTransitionOption::depth);
    m_settings.setPageTransition(PageTransitionOption::crossfade);
    EXPECT_EQ(transition->currentIndex(), 2);
    QComboBox* chip = find<QComboBox>("chipStyle");
    choose(*chip, 2);
    EXPECT_EQ(m_settings.chipStyle(), ChipStyleOption::tinted);
    m_settings.setChipStyle(ChipStyleOption::clear);
    EXPECT_EQ(chip->currentText(), QStringLiteral("Clear"));
    m_settings.setTileSize(TileSizeOption::large);
    EXPECT_EQ(find<QComboBox>("tileSize")->currentText(), QStringLiteral("Large"));

    QSlider* opacity = find<QSlider>("backgroundOpacity");
    opacity->setValue(40);
    EXPECT_DOUBLE_EQ(m_settings.backgroundOpacity(), 0.4);
    m_settings.setBackgroundOpacity(0.75);
    EXPECT_EQ(opacity->value(), 75);
    EXPECT_DOUBLE_EQ(m_settings.backgroundOpacity(), 0.75) << "following the preference writes nothing back";

    QComboBox* grid = find<QComboBox>("grid");
    m_settings.setGrid(4, 3);
    EXPECT_EQ(grid->currentText(), QStringLiteral("4 × 3"));
    m_settings.setGrid(5, 2);
    EXPECT_EQ(grid->currentIndex(), -1) << "a grid that is no preset selects none";
    EXPECT_TRUE(m_calls.isEmpty()) << m_calls.join(u", ").toStdString();
}

TEST_F(SettingsWindowTest, PanesShowWhatHoldsWhenTheyAppear)
{
    m_view->setCurrentIndex(0);
    EXPECT_TRUE(find<QPushButton>("enableWindowRestore")->isVisibleTo(m_view));
    EXPECT_FALSE(find<QLabel>("windowRestoreOn")->isVisibleTo(m_view));
    m_canRestoreWindows = true;
    m_view->setCurrentIndex(1);
    m_view->setCurrentIndex(0);
    EXPECT_FALSE(find<QPushButton>("enableWindowRestore")->isVisibleTo(m_view));
    EXPECT_TRUE(find<QLabel>("windowRestoreOn")->isVisibleTo(m_view));

    m_view->setCurrentIndex(2);
    EXPECT_EQ(find<QLabel>("noBackups")->text(), QStringLiteral("No backups yet."));
    EXPECT_FALSE(find<QLabel>("cloudStatus")->isVisibleTo(m_view)) << "sync is off";
    m_settings.setCloudDeckFolder(m_paths.home + QStringLiteral("/Sync"));
    EXPECT_TRUE(find<QLabel>("cloudFolder")->text().endsWith(QStringLiteral("/Sync")));

    const QDateTime older(QDate(2026, 3, 5), QTime(14, 7, 9));
    m_backups = {{QStringLiteral("/b/new.json"), older.addDays(1)}, {QStringLiteral("/b/old.json"), older}};
    m_window->reloadBackups();
    EXPECT_FALSE(m_view->findChild<QLabel*>(QStringLiteral("noBackups")));
    EXPECT_EQ(m_view->findChildren<QPushButton*>(QStringLiteral("restoreBackup")).size(), 2);
    QStringList dates;
    for (const QLabel* label : m_view->findChildren<QLabel*>())
        if (label->text().contains(QStringLiteral("2026")))
            dates.append(label->text());
    EXPECT_EQ(dates.size(), 2);
}

TEST_F(SettingsWindowTest, TextsAndRowsThatNameAPlatformsOwnThingsFollowThatPlatform)
{
    EXPECT_FALSE(m_view->findChild<QCheckBox*>(QStringLiteral("showDockIcon"))) << "no dock on this desktop";
    EXPECT_EQ(find<QCheckBox>("cloudDeck")->text(), QStringLiteral("Sync through a synced folder"));
    EXPECT_TRUE(find<QCheckBox>("cloudDeck")->isEnabled()) << "switching on asks for a folder";
    EXPECT_EQ(find<QLabel>("cloudFolder")->text(), QStringLiteral("None chosen"));
    for (const QLabel* label : m_view->findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("Mac"))) << label->text().toStdString();

    open(macWordings());
    QCheckBox* dockIcon = find<QCheckBox>("showDockIcon");
    ASSERT_TRUE(dockIcon);
    dockIcon->click();
    EXPECT_EQ(m_settings.showDockIcon(), dockIcon->isChecked());
    EXPECT_FALSE(m_view->findChild<QLabel*>(QStringLiteral("cloudFolder")));
    m_view->setCurrentIndex(2);
    EXPECT_FALSE(find<QCheckBox>("cloudDeck")->isEnabled()) << "no iCloud Drive when the pane appeared";
    QStringList texts;
    for (const QLabel* label : m_view->findChildren<QLabel*>())
        texts.append(label->text());
    EXPECT_TRUE(texts.contains(QStringLiteral("Turn on iCloud Drive in System Settings to use this.")));
}

} // namespace
