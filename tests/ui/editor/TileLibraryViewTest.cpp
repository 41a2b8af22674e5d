#include "ui/editor/TileLibraryView.h"

#include "deck/TileLibrary.h"
#include "icons/IconFinish.h"
#include "icons/IconResolver.h"
#include "platform/macos/MacTilePresets.h"
#include "support/FakeClock.h"
#include "support/FakeFileIcons.h"
#include "support/TempHome.h"
#include "ui/paint/PhosphorFont.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class TileLibraryViewTest : public TempHome {
protected:
    FakeFileIcons m_fileIcons;
    IconFinish m_finish;
    FakeClock m_clock;
    IconResolver m_icons{m_paths.iconsDir(), m_fileIcons, m_clock};
    PhosphorFont m_font{QStringLiteral(MARQUETTO_PHOSPHOR_FONT),
                        QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP)};
    // The Mac's catalogue, its Screenshot preset needing a program no machine has.
    TileLibrary m_library{[] {
                              std::vector<TilePreset> presets =
                                  MacTilePresets::catalogue(QStringLiteral("/home/u"));
                              presets[7].requiredProgram = QStringLiteral("no-such-program-anywhere");
                              return presets;
                          },
                          [](const QString&) { return QString(); }};
    std::vector<TilePreset> m_picked;
    TileLibraryView m_view{m_library, {m_icons, m_finish, m_font}, [this](const TilePreset& preset) {
                               m_picked.push_back(preset);
                           }};
};

TEST_F(TileLibraryViewTest, PickingARowHandsOverItsPresetAndEscapeNothing)
{
    m_view.show();
    auto* screenshot = m_view.findChild<QPushButton*>(QStringLiteral("screenshot"));
    ASSERT_TRUE(screenshot);
    QStringList texts;
    for (const QLabel* label : screenshot->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Needs no-such-program-anywhere")))
        << texts.join(u'|').toStdString();
    EXPECT_TRUE(screenshot->isEnabled()) << "a row lacking its program can still be picked";

    auto* safari = m_view.findChild<QPushButton*>(QStringLiteral("safari-window"));
    ASSERT_TRUE(safari);
    QTest::mouseClick(safari, Qt::LeftButton);
    ASSERT_EQ(m_picked.size(), 1U);
    EXPECT_EQ(m_picked.front().id, QStringLiteral("safari-window"));
    EXPECT_EQ(m_picked.front().action, m_library.presets()[4].action);
    EXPECT_FALSE(m_view.isVisible());

    m_view.show();
    QTest::keyClick(&m_view, Qt::Key_Escape);
    EXPECT_EQ(m_picked.size(), 1U);
    EXPECT_FALSE(m_view.isVisible());
    EXPECT_EQ(m_view.result(), QDialog::Rejected);
}

} // namespace
