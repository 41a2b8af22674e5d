#include "band/DateTimeText.h"

#include "support/QtPrinters.h"

#include <QDateTime>
#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QDateTime thursday({2026, 3, 5}, {14, 7, 9}, Qt::UTC);

TEST(DateTimeTextTest, ShowsShortWeekdayMonthAndDayAndTheLocalesTime)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(DateTimeText::date(thursday, english), QStringLiteral("Thu, Mar 5"));
    EXPECT_EQ(DateTimeText::time(thursday, english), QStringLiteral("2:07 PM"));
    EXPECT_EQ(DateTimeText::time(thursday, QLocale::c()), QStringLiteral("14:07")) << "never the seconds";
    // The year's own "de" goes with it; the month's stays.
    EXPECT_EQ(DateTimeText::date(thursday, QLocale(QLocale::Spanish, QLocale::Spain)),
              QStringLiteral("jue, 5 de mar"));
}

TEST(DateTimeTextTest, LeavesOutTheYearWhereverTheLocalePutsIt)
{
    const QLocale::Language languages[] = {QLocale::Japanese, QLocale::Russian, QLocale::Hungarian,
                                           QLocale::Portuguese, QLocale::Lithuanian};
    for (const QLocale::Language language : languages) {
        const QLocale locale(language);
        const QString date = DateTimeText::date(thursday, locale);
        SCOPED_TRACE(locale.name().toStdString() + " " + date.toStdString());
        EXPECT_FALSE(date.contains(QStringLiteral("26")));
        EXPECT_TRUE(date.contains(u'5'));
        EXPECT_EQ(date, date.trimmed());
    }
}

} // namespace
