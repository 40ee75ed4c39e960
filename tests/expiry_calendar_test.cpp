#include <gtest/gtest.h>

#include <algorithm>

#include "support/qt_printers.h"

#include "market/expiry_calendar.h"

namespace {

QDate date(const char *text)
{
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("dd-MM-yyyy"));
}

} // namespace

TEST(ExpiryCalendar, EachSeriesOnItsFridayOrTheOpenDayBefore)
{
    struct Case { const char *series; int year, month; const char *expiry; };
    const Case cases[] = {
        {"AEX", 2025, 3, "21-03-2025"},  // the 21st is a plain Friday
        {"AEX", 2025, 4, "17-04-2025"}, {"AEX", 2008, 3, "20-03-2008"},  // Good Friday
        {"AX2", 2025, 6, "13-06-2025"},
        {"AX1", 2027, 1, "31-12-2026"},  // New Year's Day
        {"AX1", 2026, 5, "30-04-2026"},  // 1 May
        {"AX4", 2025, 12, "24-12-2025"}, // Boxing Day, and Christmas Day before it
        {"AX5", 2013, 3, "28-03-2013"},  // Good Friday as the fifth Friday
        {"AX5", 2026, 2, ""},            // four Fridays
        {"AX3", 2025, 3, ""}, {"AEX", 2025, 13, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SeriesExpiry(QString::fromLatin1(c.series), c.year, c.month), date(c.expiry))
            << c.series << " " << c.year << "-" << c.month;
}

TEST(ExpiryCalendar, EveryExpiryIsAnOpenDayInTheWeekOfItsFriday)
{
    for (int year = 1990; year <= 2060; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int n = 1; n <= 5; ++n) {
                const QDate first(year, month, 1);
                const QDate friday = first.addDays((Qt::Friday - first.dayOfWeek() + 7) % 7 + 7 * (n - 1));
                const QDate expiry = SeriesExpiry(n == 3 ? QStringLiteral("AEX") : QStringLiteral("AX%1").arg(n), year, month);
                ASSERT_EQ(expiry.isValid(), friday.month() == month) << year << "-" << month << " " << n;
                if (expiry.isValid()) {
                    ASSERT_FALSE(ExchangeClosed(expiry)) << expiry.toString().toStdString();
                    ASSERT_TRUE(expiry.daysTo(friday) >= 0 && expiry.daysTo(friday) <= 2) << expiry.toString().toStdString();
                }
            }
}

// The days found are kept between calls: asked again in another order, after other series and
// months took their places, each still gives its own day.
TEST(ExpiryCalendar, TheSameDayWhenAskedAgain)
{
    const auto allDays = [](bool backwards) {
        QList<QDate> days;
        for (int i = 0; i < 5 * 12 * 60; ++i) {
            const int k = backwards ? 5 * 12 * 60 - 1 - i : i;
            const int n = 1 + k % 5, month = 1 + k / 5 % 12, year = 1990 + k / 60;
            days << SeriesExpiry(n == 3 ? QStringLiteral("AEX") : QStringLiteral("AX%1").arg(n), year, month);
            EXPECT_EQ(days.last(), LastOpenDayOnOrBefore(NthFriday(year, month, n))) << year << "-" << month << " " << n;
        }
        return days;
    };
    const QList<QDate> forwards = allDays(false);
    QList<QDate> backwards = allDays(true);
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(forwards, backwards);
}
