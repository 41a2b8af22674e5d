#include "ui/editor/BandCustomizeView.h"

#include "core/Preferences.h"
#include "model/Settings.h"
#include "support/FakeClock.h"
#include "support/TempHome.h"
#include "ui/editor/BandCustomizeWindow.h"
#include "ui/paint/PhosphorFont.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

using enum BandModule;
using Modules = QList<BandModule>;

class BandCustomizeViewTest : public TempHome {
protected:
    void SetUp() override
    {
        m_window.show();
        m_view = m_window.view();
        ASSERT_TRUE(m_view);
    }

    // The row of `module` in the list named `list` ("onTheBand" or "available") as the view shows it now.
    [[nodiscard]] QWidget* row(const char* list, BandModule module) const
    {
        auto* shown = m_view->findChild<QWidget*>(QLatin1String(list));
        return shown ? shown->findChild<QWidget*>(rawValue(module)) : nullptr;
    }

    [[nodiscard]] QToolButton* button(const char* list, BandModule module, const char* name) const
    {
        QWidget* found = row(list, module);
        return found ? found->findChild<QToolButton*>(QLatin1String(name)) : nullptr;
    }

    template <typename Widget>
    [[nodiscard]] Widget* field(const char* name) const
    {
        return m_view->findChild<Widget*>(QLatin1String(name));
    }

    Preferences m_preferences{m_paths.preferencesFile()};
    DeckSettings m_settings{m_preferences};
    PhosphorFont m_font{QStringLiteral(MARQUETTO_PHOSPHOR_FONT),
                        QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP)};
    FakeClock m_clock;
    BandCustomizeWindow m_window{m_settings, m_font, m_clock};
    BandCustomizeView* m_view = nullptr;
};

TEST_F(BandCustomizeViewTest, EachButtonWritesTheListAtOnceAndTheRowsFollowIt)
{
    m_window.show();
    EXPECT_EQ(m_window.view(), m_view) << "a second show brings the same window forward";

    m_settings.setBandModules({cpuLoad, memory, uptime});
    ASSERT_TRUE(button("onTheBand", cpuLoad, "moveUp"));
    EXPECT_FALSE(button("onTheBand", cpuLoad, "moveUp")->isEnabled());
    EXPECT_FALSE(button("onTheBand", uptime, "moveDown")->isEnabled());

    // Every step acts on the rows the previous one left.
    const struct {
        const char* list;
        BandModule module;
        const char* button;
        Modules expected;
    } steps[] = {
        {"onTheBand", memory, "moveUp", {memory, cpuLoad, uptime}},
        {"onTheBand", cpuLoad, "moveDown", {memory, uptime, cpuLoad}},
        {"onTheBand", memory, "remove", {uptime, cpuLoad}},
        {"available", micMute, "add", {uptime, cpuLoad, micMute}},
    };
    for (const auto& step : steps) {
        QToolButton* pressed = button(step.list, step.module, step.button);
        ASSERT_TRUE(pressed) << step.button;
        QTest::mouseClick(pressed, Qt::LeftButton);
        EXPECT_EQ(m_settings.bandModules(), step.expected) << step.button;
    }
    EXPECT_EQ(field<QLabel>("capacity")->text(), u"4 of 6 units");
    EXPECT_FALSE(row("available", micMute));
}

TEST_F(BandCustomizeViewTest, AFullBandSaysWhatToFreeUpAndFollowsTheGrid)
{
    // The default band fills the 6 units of a 3 × 3 deck.
    QToolButton* add = button("available", cpuLoad, "add");
    ASSERT_TRUE(add);
    EXPECT_FALSE(add->isEnabled());
    EXPECT_EQ(add->toolTip(), u"The band is full — remove 1 unit of controls to fit CPU Load.");
    QStringList texts;
    for (const QLabel* label : row("available", cpuLoad)->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("free up 1u"))) << texts.join(u'|').toStdString();
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(m_settings.bandModules(), DeckSettings::defaultBandModules());

    const QLabel* capacity = field<QLabel>("capacity");
    const QColor fitting = capacity->palette().color(QPalette::WindowText);
    m_settings.setBandModules({nextMeeting, wifi, weather});
    EXPECT_EQ(capacity->text(), u"7 of 6 units");
    EXPECT_NE(capacity->palette().color(QPalette::WindowText), fitting) << "an over-full band is marked";

    // A wider grid makes room.
    m_settings.setGrid(4, 3);
    EXPECT_EQ(capacity->text(), u"7 of 9 units");
    EXPECT_EQ(capacity->palette().color(QPalette::WindowText), fitting);
    add = button("available", cpuLoad, "add");
    ASSERT_TRUE(add);
    EXPECT_TRUE(add->isEnabled());
    EXPECT_EQ(add->toolTip(), u"Add CPU Load to the band");
}

TEST_F(BandCustomizeViewTest, TheSettingsSectionsShowWhileTheirModulesAreOnTheBandAndKeepWhatIsTyped)
{
    m_settings.setWeatherLocation(QStringLiteral("48.85,2.35"));
    auto* clockSection = field<QGroupBox>("worldClock");
    auto* weatherSection = field<QGroupBox>("weather");
    auto* zones = field<QComboBox>("timeZone");
    auto* label = field<QLineEdit>("worldClockLabel");
    auto* location = field<QLineEdit>("weatherLocation");
    EXPECT_TRUE(clockSection->isHidden());
    EXPECT_TRUE(weatherSection->isHidden());
    EXPECT_EQ(location->text(), u"48.85,2.35");

    m_settings.setBandModules({worldClock, weather});
    EXPECT_FALSE(clockSection->isHidden());
    EXPECT_FALSE(weatherSection->isHidden());
    EXPECT_EQ(zones->currentText(), u"New York");
    QTest::keyClick(zones, Qt::Key_Down);
    EXPECT_EQ(m_settings.worldClockTimeZone(), u"America/Sao_Paulo");

    label->setFocus();
    QTest::keyClicks(label, QStringLiteral("Home"));
    EXPECT_EQ(m_settings.worldClockLabel(), u"Home");
    EXPECT_EQ(field<QLineEdit>("worldClockLabel"), label);
    EXPECT_EQ(label->cursorPosition(), 4);
    location->setFocus();
    location->end(false);
    QTest::keyClicks(location, QStringLiteral("x"));
    EXPECT_EQ(m_settings.weatherLocation(), u"48.85,2.35x") << "a place typed half-way is kept as typed";
    EXPECT_EQ(location->cursorPosition(), 11);

    // Set elsewhere, the fields follow.
    m_settings.setWorldClockTimeZone(QStringLiteral("UTC"));
    EXPECT_EQ(zones->currentText(), u"UTC");

    QTest::mouseClick(button("onTheBand", worldClock, "remove"), Qt::LeftButton);
    QTest::mouseClick(button("onTheBand", weather, "remove"), Qt::LeftButton);
    EXPECT_TRUE(clockSection->isHidden());
    EXPECT_TRUE(weatherSection->isHidden());
}

TEST_F(BandCustomizeViewTest, TheCountdownPickerShowsTodayUntilADayIsPickedAndStoresThatDaysLocalMidnight)
{
    m_settings.setBandModules({countdown});
    auto* picker = field<QDateEdit>("targetDate");
    EXPECT_FALSE(field<QGroupBox>("countdown")->isHidden());
    EXPECT_EQ(picker->date(), m_clock.now().date());
    EXPECT_EQ(m_settings.countdownDate(), 0) << "showing today picks nothing";

    picker->setDate(QDate(2026, 7, 14));
    EXPECT_EQ(m_settings.countdownDate(),
              double(QDateTime(QDate(2026, 7, 14), QTime(0, 0)).toSecsSinceEpoch()));

    m_settings.setCountdownDate(double(QDateTime(QDate(2027, 1, 2), QTime(15, 30)).toSecsSinceEpoch()));
    EXPECT_EQ(picker->date(), QDate(2027, 1, 2));
    // A date no calendar can show, written by hand, shows the last day the picker has and is kept.
    m_settings.setCountdownDate(1e300);
    EXPECT_EQ(picker->date(), picker->maximumDate());
    EXPECT_EQ(m_settings.countdownDate(), 1e300);
}

} // namespace
