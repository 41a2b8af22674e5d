#include "ui/editor/ApplicationPicker.h"

#include "support/FakeInstalledApplications.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>

namespace {

class ApplicationPickerTest : public ::testing::Test {
protected:
    FakeInstalledApplications m_installed;
    QStringList m_picked;

    void SetUp() override
    {
        m_installed.listed = {
            {QStringLiteral("Calculator"), QStringLiteral("/apps/calc.desktop"), QStringLiteral("calc")},
            {QStringLiteral("Files"), QStringLiteral("/apps/files.desktop"), QString()},
            {QStringLiteral("Text Editor"), QStringLiteral("/apps/editor.desktop"), QStringLiteral("/x.png")},
        };
    }

    [[nodiscard]] std::unique_ptr<ApplicationPicker> shownPicker()
    {
        auto picker = std::make_unique<ApplicationPicker>(m_installed,
                                                          [this](const QString& path) { m_picked << path; });
        picker->show();
        // The listing runs on the pool and arrives as a queued call.
        QThreadPool::globalInstance()->waitForDone();
        QApplication::processEvents();
        return picker;
    }

    static QStringList shownNames(ApplicationPicker& picker)
    {
        const QAbstractItemModel& model = *picker.findChild<QListView*>()->model();
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.index(row, 0).data().toString();
        return names;
    }

    static void type(ApplicationPicker& picker, const QString& text)
    {
        QTest::keyClicks(picker.findChild<QLineEdit*>(), text);
    }
};

TEST_F(ApplicationPickerTest, TypingNarrowsTheListAndReturnOrADoubleClickPicksTheDesktopEntry)
{
    std::unique_ptr<ApplicationPicker> picker = shownPicker();
    EXPECT_EQ(shownNames(*picker), (QStringList{QStringLiteral("Calculator"), QStringLiteral("Files"),
                                                QStringLiteral("Text Editor")}));
    type(*picker, QStringLiteral(" EDIT"));
    EXPECT_EQ(shownNames(*picker), QStringList{QStringLiteral("Text Editor")});
    QTest::keyClick(picker->findChild<QLineEdit*>(), Qt::Key_Return);
    EXPECT_EQ(m_picked, QStringList{QStringLiteral("/apps/editor.desktop")});
    EXPECT_EQ(picker->result(), QDialog::Accepted);

    picker = shownPicker();
    QListView& list = *picker->findChild<QListView*>();
    const QRect files = list.visualRect(list.model()->index(1, 0));
    // A double click begins with a click; the list only opens the row that click pressed.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, files.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, files.center());
    EXPECT_EQ(m_picked.size(), 2);
    EXPECT_EQ(m_picked.constLast(), QStringLiteral("/apps/files.desktop"));
    EXPECT_FALSE(picker->isVisible());
}

TEST_F(ApplicationPickerTest, WithNothingMatchingReturnPicksNothingAndEscapeCancels)
{
    std::unique_ptr<ApplicationPicker> picker = shownPicker();
    type(*picker, QStringLiteral("zzz"));
    EXPECT_TRUE(shownNames(*picker).isEmpty());
    QTest::keyClick(picker->findChild<QLineEdit*>(), Qt::Key_Return);
    EXPECT_TRUE(picker->isVisible());
    QTest::keyClick(picker.get(), Qt::Key_Escape);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(picker->result(), QDialog::Rejected);
    EXPECT_TRUE(m_picked.isEmpty());

    // A sheet closed before its listing arrives lets the listing go.
    auto closedEarly = std::make_unique<ApplicationPicker>(m_installed, [](const QString&) {});
    closedEarly.reset();
    QThreadPool::globalInstance()->waitForDone();
    QApplication::processEvents();
    EXPECT_EQ(m_installed.listings, 2);
}

} // namespace
