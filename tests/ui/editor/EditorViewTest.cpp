#include "ui/editor/EditorView.h"

#include "deck/TileLibrary.h"
#include "icons/IconFinish.h"
#include "icons/IconResolver.h"
#include "model/StarterHint.h"
#include "services/DeckServices.h"
#include "support/FakeClock.h"
#include "support/FakeFileIcons.h"
#include "support/TempHome.h"
#include "support/TestDeckServices.h"
#include "ui/editor/EditorWindowController.h"
#include "ui/editor/PickerGrid.h"
#include "ui/editor/SceneStepEditorView.h"
#include "ui/editor/TileLibraryView.h"
#include "ui/paint/PhosphorFont.h"
#include "ui/paint/SymbolCatalogue.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

class EditorViewTest : public TempHome {
protected:
    TestDeckServices m_deck{m_paths};
    FakeFileIcons m_fileIcons;
    FakeClock m_clock;
    IconResolver m_icons{m_paths.iconsDir(), m_fileIcons, m_clock};
    IconFinish m_finish;
    PhosphorFont m_font{QStringLiteral("/nonexistent/font.ttf"), QStringLiteral("/nonexistent/map.json")};
    SymbolCatalogue m_symbols{[] { return QStringList{QStringLiteral("globe"), QStringLiteral("star")}; }};
    DeckServices& m_root = m_deck.root();
    EditorWindowController m_controller{
        {m_root.store(),
         m_root.settings(),
         m_root.starterHint(),
         m_root.tileLibrary(),
         {m_root.music(), m_root.processes(), m_root.audio(), m_root.bluetooth(), m_root.applicationNames(),
          m_root.installedApplications(), m_root.wordings()},
         m_root.paths().iconsDir(),
         {m_icons, m_finish, m_font},
         m_symbols}};

    [[nodiscard]] TileStore& store() { return m_deck.root().store(); }

    template <typename Widget>
    [[nodiscard]] Widget& control(const char* name) const
    {
        auto* widget = m_controller.editor()->findChild<Widget*>(QLatin1String(name));
        if (!widget)
            throw std::runtime_error(name);
        return *widget;
    }

    static void choose(QComboBox& combo, const QString& text)
    {
        const int row = combo.findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        combo.setCurrentIndex(row);
    }
};

TEST_F(EditorViewTest, FillingTheFormAndPressingReturnSavesTheSlotUnderItsOwnIdentity)
{
    Tile before;
    before.label = QStringLiteral("Old");
    store().set(before, 0, 0);
    m_deck.root().starterHint().show();

    m_controller.show(0, 0);
    ASSERT_NE(m_controller.editor(), nullptr);
    EXPECT_EQ(m_controller.editor()->windowTitle(), QStringLiteral("Page 1 · Tile 1"));
    EXPECT_FALSE(m_deck.root().starterHint().isPending());

    choose(control<QComboBox>("kindPicker"), QStringLiteral("Open URL"));
    auto& url = control<QLineEdit>("urlField");
    EXPECT_EQ(url.text(), QStringLiteral("https://"));
    QTest::keyClicks(&url, QStringLiteral("example.org/news"));
    auto& label = control<QLineEdit>("labelField");
    label.clear();
    QTest::keyClicks(&label, QStringLiteral("x"));
    QTest::keyClick(&label, Qt::Key_Backspace);
    EXPECT_EQ(label.placeholderText(), QStringLiteral("example.org"));

    choose(control<QComboBox>("iconStyle"), QStringLiteral("Tile Builder"));
    EXPECT_EQ(control<QPushButton>("chooseGlyph").text(), QStringLiteral("Choose Icon…"));
    m_controller.editor()->setBuilderColor(QStringLiteral("#a0b0c0"));
    control<QPushButton>("chooseGlyph").click();
    auto* glyphs = m_controller.editor()->findChild<PickerGrid*>();
    ASSERT_NE(glyphs, nullptr);
    Q_EMIT glyphs->picked(QStringLiteral("globe"));
    EXPECT_EQ(control<QPushButton>("chooseGlyph").text(), QStringLiteral("Change Icon…"));

    QTest::keyClick(&label, Qt::Key_Return);

    const Tile after = store().tile(0, 0);
    EXPECT_EQ(after.id, before.id);
    EXPECT_EQ(after.label, QString());
    EXPECT_EQ(after.action, TileAction{TileAction::OpenURL{QStringLiteral("https://example.org/news")}});
    EXPECT_EQ(after.icon, (TileIcon{TileIcon::Builder{QStringLiteral("#A0B0C0"), QStringLiteral("globe")}}));
    EXPECT_FALSE(m_controller.openSlot());
}

TEST_F(EditorViewTest, APresetFromTheLibraryFillsTheFormItIsSavedFrom)
{
    m_controller.show(0, 5);
    control<QPushButton>("browseLibrary").click();
    auto* library = m_controller.editor()->findChild<TileLibraryView*>();
    ASSERT_NE(library, nullptr);
    auto* row = library->findChild<QPushButton*>(QStringLiteral("safari-window"));
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row, Qt::LeftButton);

    const TilePreset& preset = m_deck.root().tileLibrary().presets()[4];
    ASSERT_EQ(preset.id, QStringLiteral("safari-window"));
    EXPECT_EQ(control<QLineEdit>("labelField").text(), preset.label);
    EXPECT_EQ(control<QComboBox>("iconStyle").currentText(), QStringLiteral("Tile Builder"));
    EXPECT_EQ(control<QComboBox>("kindPicker").currentText(), QStringLiteral("Run Script"));
    control<QPushButton>("save").click();

    const Tile saved = store().tile(0, 5);
    EXPECT_EQ(saved.label, preset.label);
    EXPECT_EQ(saved.action, preset.action);
    EXPECT_EQ(saved.icon, preset.icon);
}

TEST_F(EditorViewTest, SaveWaitsForAPictureStillImportingAndAPictureThatFailsSaysSoAndSavesNothing)
{
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(Qt::blue);
    const QString path = m_dir.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(picture.save(path));
    m_controller.show(0, 0);
    choose(control<QComboBox>("iconStyle"), QStringLiteral("Custom Image"));
    m_controller.editor()->importImage(path);
    control<QPushButton>("save").click();
    EXPECT_TRUE(m_controller.openSlot()) << "the picture is still being imported";
    QTRY_VERIFY(!m_controller.openSlot());
    const Tile saved = store().tile(0, 0);
    const auto* custom = saved.icon.as<TileIcon::Custom>();
    ASSERT_NE(custom, nullptr);
    EXPECT_TRUE(QFileInfo::exists(QDir(m_paths.iconsDir()).filePath(custom->fileName)));

    const QString broken = m_dir.filePath(QStringLiteral("broken.png"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    const Tile before = store().tile(0, 1);
    m_controller.show(0, 1);
    choose(control<QComboBox>("iconStyle"), QStringLiteral("Custom Image"));
    m_controller.editor()->importImage(broken);
    control<QPushButton>("save").click();
    auto& status = control<QLabel>("importStatus");
    QTRY_VERIFY(status.text().startsWith(QStringLiteral("Couldn't use “broken.png”")));
    EXPECT_TRUE(m_controller.openSlot()) << "the user decides what to do instead";
    EXPECT_EQ(store().tile(0, 1), before);
    EXPECT_TRUE(control<QPushButton>("save").isEnabled());
}

TEST_F(EditorViewTest, EscapeClosesTheEditorAndChangesNothing)
{
    Tile before;
    before.action = TileAction{TileAction::Snippet{QStringLiteral("kept")}};
    store().set(before, 0, 3);
    m_controller.show(0, 3);
    QTest::keyClicks(&control<QLineEdit>("labelField"), QStringLiteral("Typed"));
    choose(control<QComboBox>("kindPicker"), QStringLiteral("Empty"));

    QTest::keyClick(m_controller.editor(), Qt::Key_Escape);

    EXPECT_EQ(store().tile(0, 3), before);
    EXPECT_FALSE(m_controller.openSlot());
}

TEST_F(EditorViewTest, ReturnPressesTheFocusedButtonAndSavesOnlyFromAField)
{
    Tile before;
    before.action =
        TileAction{TileAction::Sequence{{TileAction{TileAction::Snippet{QStringLiteral("one")}},
                                         TileAction{TileAction::Snippet{QStringLiteral("two")}}}}};
    store().set(before, 0, 1);
    m_controller.show(0, 1);
    const auto button = [this](const QString& text) {
        for (QPushButton* candidate : m_controller.editor()->findChildren<QPushButton*>()) {
            if (candidate->text() == text)
                return candidate;
        }
        throw std::runtime_error(text.toStdString());
    };

    control<QListWidget>("sceneSteps").setCurrentRow(0);
    QTest::keyClick(button(QStringLiteral("Remove")), Qt::Key_Return);
    ASSERT_TRUE(m_controller.openSlot()) << "Return went to Save";
    EXPECT_EQ(control<QListWidget>("sceneSteps").count(), 1);

    QTest::keyClick(button(QStringLiteral("Browse Tile Library…")), Qt::Key_Return);
    auto* library = m_controller.editor()->findChild<TileLibraryView*>();
    ASSERT_NE(library, nullptr);
    library->reject();

    QTest::keyClick(button(QStringLiteral("Cancel")), Qt::Key_Return);
    EXPECT_EQ(store().tile(0, 1), before);
    EXPECT_FALSE(m_controller.openSlot());
}

TEST_F(EditorViewTest, ASecondEditorClosesTheFirst)
{
    m_controller.show(0, 0);
    const QPointer<EditorView> first = m_controller.editor();
    m_controller.show(1, 4);

    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(m_controller.openSlot(), (EditorWindowController::Slot{1, 4}));
    EXPECT_TRUE(m_controller.editor()->isVisible());
}

TEST_F(EditorViewTest, ASavedOutputThatIsGoneIsOfferedUnderItsSavedNameOrAsUnavailable)
{
    for (const auto& [savedName, shown] : {std::pair{QStringLiteral("Desk"), QStringLiteral("Desk")},
                                           std::pair{QString(), QStringLiteral("Unavailable")}}) {
        Tile tile;
        tile.action = TileAction{TileAction::AudioOutput{QStringLiteral("sink.gone"), savedName}};
        store().set(tile, 0, 2);
        m_controller.show(0, 2);
        auto& outputs = control<QComboBox>("outputPicker");
        // The device list arrives from the background queue.
        QTRY_VERIFY(outputs.count() == 1);
        EXPECT_EQ(outputs.currentText(), shown);
        QTest::keyClick(&outputs, Qt::Key_Return);
        EXPECT_FALSE(m_controller.openSlot());
        EXPECT_EQ(store().tile(0, 2).action, tile.action) << "saving keeps the saved device";
    }
}

TEST_F(EditorViewTest, TheStepSheetAddsAStepToTheScene)
{
    m_controller.show(0, 0);
    choose(control<QComboBox>("kindPicker"), QStringLiteral("Scene (Multiple Actions)"));
    const auto buttons = m_controller.editor()->findChildren<QPushButton*>();
    const auto add = std::find_if(buttons.begin(), buttons.end(),
                                  [](QPushButton* b) { return b->text() == QStringLiteral("Add Step"); });
    ASSERT_NE(add, buttons.end());
    (*add)->click();

    auto* sheet = m_controller.editor()->findChild<SceneStepEditorView*>();
    ASSERT_NE(sheet, nullptr);
    auto* kinds = sheet->findChild<QComboBox*>(QStringLiteral("kindPicker"));
    choose(*kinds, QStringLiteral("Open URL"));
    auto* save = sheet->findChild<QPushButton*>();
    for (QPushButton* button : sheet->findChildren<QPushButton*>()) {
        if (button->text() == QStringLiteral("Save Step"))
            save = button;
    }
    EXPECT_FALSE(save->isEnabled()) << "the untouched address makes no step";
    QTest::keyClicks(sheet->findChild<QLineEdit*>(QStringLiteral("urlField")), QStringLiteral("a.example"));
    save->click();

    EXPECT_EQ(control<QListWidget>("sceneSteps").count(), 1);
    EXPECT_EQ(m_controller.editor()->state().builtAction(),
              TileAction{TileAction::Sequence{
                  {TileAction{TileAction::OpenURL{QStringLiteral("https://a.example")}}}}});
}

} // namespace
