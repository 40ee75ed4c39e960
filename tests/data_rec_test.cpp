#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/data_rec.h"

TEST(Calendar, ThirdFridayForEveryFirstWeekday)
{
    struct Case { int year, month, thirdFriday; };
    const Case cases[] = {
        {2024, 11, 15},  // the 1st is a Friday
        {2025, 2, 21},   // Saturday
        {2025, 3, 21},   // Saturday
        {2026, 3, 20},   // Sunday
        {2013, 4, 19}, {2026, 1, 16}, {2013, 3, 15}, {2024, 10, 18}, {2024, 5, 17},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ThirdFriday(c.year, c.month), c.thirdFriday) << c.year << "-" << c.month;
}

TEST(Calendar, FirstMonthOfferedMovesOnOnlyAfterTheThirdFriday)
{
    struct Case { QDate today; int monthFrom, yearFrom; };
    const Case cases[] = {
        {QDate(2013, 4, 19), 4, 2013},  // the third Friday itself still counts
        {QDate(2013, 4, 20), 5, 2013}, {QDate(2013, 12, 20), 12, 2013}, {QDate(2013, 12, 28), 1, 2014},
        {QDate(2025, 3, 21), 3, 2025},  // the third Friday itself
        {QDate(2025, 3, 22), 4, 2025},
    };
    for (const Case &c : cases) {
        TDataRec rec;
        rec.MonthTill = 7;
        PrepareDataRec(rec, c.today, 3);
        EXPECT_EQ(rec.MonthFrom, c.monthFrom) << c.today.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(rec.YearFrom, c.yearFrom) << c.today.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(rec.YearTill, c.yearFrom + 3);
        EXPECT_EQ(rec.MonthTill, 7);
    }
}
