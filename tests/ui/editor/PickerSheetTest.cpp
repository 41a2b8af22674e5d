#include "support/QtPrinters.h"
#include "ui/editor/PhosphorPicker.h"
#include "ui/editor/SFSymbolPicker.h"
#include "ui/paint/PhosphorFont.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionViewItem>
#include <QTest>
#include <gtest/gtest.h>

namespace {

PhosphorFont& builtFont()
{
    static PhosphorFont font(QStringLiteral(MARQUETTO_PHOSPHOR_FONT),
                             QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP));
    return font;
}

// What a person sees of a shown sheet.
struct Sheet {
    QDialog& dialog;

    [[nodiscard]] QListView& grid() const { return *dialog.findChild<QListView*>(); }
    [[nodiscard]] QStringList shownNames() const
    {
        QStringList names;
        for (int row = 0; row < grid().model()->rowCount(); ++row)
            names << grid().model()->index(row, 0).data().toString();
        return names;
    }
    [[nodiscard]] QStringList labels() const
    {
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->isVisible())
                texts << label->text();
        }
        return texts;
    }
    void type(const QString& text) const
    {
        QLineEdit& field = *dialog.findChild<QLineEdit*>();
        field.clear();
        QTest::keyClicks(&field, text);
        QApplication::processEvents();
    }
    void click(int row) const
    {
        grid().doItemsLayout();
        const QRect cell = grid().visualRect(grid().model()->index(row, 0));
        ASSERT_FALSE(cell.isEmpty());
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cell.center());
    }
};

const QStringList fourSymbols{QStringLiteral("speaker"), QStringLiteral("play"),
                              QStringLiteral("speaker.wave.3"), QStringLiteral("folder")};

// The four symbols with "play" chosen; each pick is added to `picked`.
SFSymbolPicker fourSymbolsPicker(QStringList& picked)
{
    return SFSymbolPicker(builtFont(), fourSymbols, QStringLiteral("play"),
                          [&picked](const QString& name) { picked << name; });
}

TEST(PickerSheetTest, TheSymbolPickerFiltersByTextAndAnswersTheClickedSymbol)
{
    QStringList picked;
    SFSymbolPicker picker = fourSymbolsPicker(picked);
    picker.show();
    const Sheet sheet{picker};
    EXPECT_EQ(sheet.shownNames(), fourSymbols);
    EXPECT_TRUE(sheet.labels().contains(QStringLiteral("4 symbols")));

    sheet.type(QStringLiteral(" Speaker"));
    EXPECT_EQ(sheet.shownNames(), (QStringList{QStringLiteral("speaker"), QStringLiteral("speaker.wave.3")}));
    EXPECT_TRUE(sheet.labels().contains(QStringLiteral("2 symbols")));

    sheet.type(QStringLiteral("zebra"));
    EXPECT_TRUE(sheet.labels().contains(QStringLiteral("No symbols match \u201Czebra\u201D")));
    EXPECT_FALSE(sheet.grid().isVisible());
    EXPECT_TRUE(picked.isEmpty());

    sheet.type(QStringLiteral("wave"));
    EXPECT_TRUE(sheet.grid().isVisible());
    sheet.click(0);
    EXPECT_EQ(picked, QStringList{QStringLiteral("speaker.wave.3")});
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
}

TEST(PickerSheetTest, TheGlyphPickerMatchesWordsAcrossHyphensAndCancelsWithoutAnAnswer)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(MARQUETTO_PHOSPHOR_GLYPH_MAP))) << "the icon font was not built";
    QStringList picked;
    PhosphorPicker picker(builtFont(), QStringLiteral("folder"),
                          [&picked](const QString& name) { picked << name; });
    picker.show();
    const Sheet sheet{picker};
    EXPECT_EQ(sheet.shownNames().size(), builtFont().names().size());

    sheet.type(QStringLiteral("download simple"));
    EXPECT_EQ(sheet.shownNames(), QStringList{QStringLiteral("download-simple")});
    EXPECT_TRUE(sheet.labels().contains(QStringLiteral("1 icons")));
    sheet.click(0);
    EXPECT_EQ(picked, QStringList{QStringLiteral("download-simple")});

    picker.show();
    sheet.type(QStringLiteral("no such glyph"));
    EXPECT_TRUE(sheet.labels().contains(QStringLiteral("No icons match \u201Cno such glyph\u201D")));
    QTest::keyClick(&picker, Qt::Key_Escape);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.result(), QDialog::Rejected);
    EXPECT_EQ(picked.size(), 1);
}

QImage paintedCell(QListView& grid, int row, bool focused)
{
    QStyleOptionViewItem option;
    option.initFrom(&grid);
    option.rect = QRect(0, 0, 64, 64);
    option.state = QStyle::State_Enabled;
    if (focused)
        option.state |= QStyle::State_HasFocus;
    QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    grid.itemDelegate()->paint(&painter, option, grid.model()->index(row, 0));
    return image;
}

TEST(PickerSheetTest, TheKeyboardMovesAFocusRingOverTheCellsAndReturnPicksTheCellOrTheFirstMatch)
{
    QStringList picked;
    SFSymbolPicker picker = fourSymbolsPicker(picked);
    picker.show();
    const Sheet sheet{picker};
    QListView& grid = sheet.grid();
    EXPECT_EQ(grid.currentIndex().data().toString(), QStringLiteral("play"))
        << "the chosen symbol is current";
    EXPECT_NE(paintedCell(grid, 0, true), paintedCell(grid, 0, false))
        << "the current cell shows a focus ring";

    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(picked, QStringList{QStringLiteral("speaker.wave.3")});
    EXPECT_EQ(picker.result(), QDialog::Accepted);

    picker.show();
    sheet.type(QStringLiteral("zebra"));
    QTest::keyClick(picker.findChild<QLineEdit*>(), Qt::Key_Return);
    EXPECT_TRUE(picker.isVisible()) << "nothing to pick";
    sheet.type(QStringLiteral("older"));
    QTest::keyClick(picker.findChild<QLineEdit*>(), Qt::Key_Return);
    EXPECT_EQ(picked.last(), QStringLiteral("folder"));
    EXPECT_FALSE(picker.isVisible());
}

} // namespace
