#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "market/expiry_calendar.h"

namespace {

QDate date(const char *text)
{
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("dd-MM-yyyy"));
}

} // namespace

TEST(ExpiryCalendar, EasterByTheGregorianComputus)
{
    for (const char *easter : {"22-03-1818", "25-04-1943", "23-03-2008", "31-03-2013", "20-04-2014",
                               "21-04-2019", "20-04-2025", "25-04-2038", "22-03-2285"})
        EXPECT_EQ(EasterSunday(date(easter).year()), date(easter)) << easter;
}

TEST(ExpiryCalendar, EachSeriesOnItsFridayOrTheOpenDayBefore)
{
    struct Case { const char *series; int year, month; const char *expiry; };
    const Case cases[] = {
        {"AEX", 2025, 3, "21-03-2025"}, {"AEX", 2014, 3, "21-03-2014"},  // the 21st is a plain Friday
        {"AEX", 2008, 3, "20-03-2008"}, {"AEX", 2025, 4, "17-04-2025"},  // Good Friday
        {"AEX", 2014, 4, "17-04-2014"}, {"AEX", 2019, 4, "18-04-2019"},
        {"AX2", 2025, 6, "13-06-2025"},
        {"AX1", 2027, 1, "31-12-2026"},  // New Year's Day
        {"AX1", 2026, 5, "30-04-2026"},  // 1 May
        {"AX4", 2026, 12, "24-12-2026"}, // Christmas Day
        {"AX4", 2025, 12, "24-12-2025"}, // Boxing Day, and Christmas Day before it
        {"AX5", 2013, 3, "28-03-2013"},  // Good Friday as the fifth Friday
        {"AX5", 2026, 1, "30-01-2026"},
        {"AX5", 2026, 2, ""},            // four Fridays
        {"AX3", 2025, 3, ""}, {"aex", 2025, 3, ""}, {"", 2025, 3, ""}, {"AEX", 2025, 13, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SeriesExpiry(QString::fromLatin1(c.series), c.year, c.month), date(c.expiry))
            << c.series << " " << c.year << "-" << c.month;
}

TEST(ExpiryCalendar, EveryExpiryIsAnOpenDayInTheWeekOfItsFriday)
{
    int moved = 0;
    for (int year = 1990; year <= 2060; ++year)
        for (int month = 1; month <= 12; ++month)
            for (const char *series : {"AX1", "AX2", "AEX", "AX4", "AX5"}) {
                const QDate friday = NthFriday(year, month, *SeriesFriday(QString::fromLatin1(series)));
                const QDate expiry = SeriesExpiry(QString::fromLatin1(series), year, month);
                ASSERT_EQ(expiry.isValid(), friday.isValid()) << series << " " << year << "-" << month;
                if (!friday.isValid())
                    continue;
                ASSERT_FALSE(ExchangeClosed(expiry)) << expiry.toString().toStdString();
                ASSERT_GE(expiry.daysTo(friday), 0);
                ASSERT_LE(expiry.daysTo(friday), 2);
                moved += expiry != friday;
            }
    // Good Friday falls on a Friday of April or March every year; the others now and then.
    EXPECT_GT(moved, 71);
}
