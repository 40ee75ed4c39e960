#include <gtest/gtest.h>

#include "positions/position_rules.h"
#include "market/position_update.h"
#include "support/qt_printers.h"

#include <cstdlib>

TEST(PositionUpdate, ExpiryDayOfMonthlyAndWeeklySeries)
{
    struct Case { const char *series; int year, month; QDate today; int day; };
    const Case cases[] = {
        {"AEX", 2025, 3, QDate(2026, 12, 5), 20},   // third Friday on the 21st
        {"AEX", 2026, 3, QDate(2026, 12, 5), 20},   // plain third Friday
        {"AX1", 2026, 12, QDate(2026, 12, 5), 4},   // Saturday: the day before
        {"AX1", 2026, 12, QDate(2026, 12, 6), 11},  // Sunday: five days later
        {"AX2", 2025, 6, QDate(2025, 3, 19), 21},   // this week's Friday, whatever the month
        {"AX2", 2025, 3, QDate(2025, 3, 19), 20},   // ... with the March exception
    };
    for (const Case &c : cases)
        EXPECT_EQ(PositionExpiryDay(QString::fromLatin1(c.series), c.year, c.month, c.today), c.day) << c.series << " " << c.month;
}

TEST(PositionUpdate, RewritesLastPriceAndDifference)
{
    QuoteList quotes;
    for (const char *line : {"AEX P; 15-03-2013; 380,00; 10,00", "AEX C; 20-03-2025; 900,00; 5,00",
                             "AEX C; 21-03-2025; 900,00; 9,00", "AEX C; 19-04-2013; 400,00; ",
                             "AEX C; 04-12-2026; 900,00; 3,50", "AEX C; 20-12-2013; 380,00; 1,00"})
        quotes.add(line);
    const QStringList lines = {
        "AEX; Put; mrt; 2013;  380;  12,34;  12,34; 1; 1234,00; 0",  // as the add dialog writes it
        "AEX; Call; mrt; 2025; 900; 4,00; 0; 2; 0; 1",                // March expiry on the 20th
        "AX1; Call; dec; 2026; 900; 3,5; 1; 1; 0; 0",                 // weekly series on a Saturday
        "AEX; Call; xyz; 2013; 380; 2; 0; 3; 0; 0",                   // unknown month: December
        "AEX; Call; apr; 2013; 400; 1.5; 7,00; 1; 0; 0",              // empty price cell
        "AEX; Put; apr; 2013; 999; 20; 0; 10; 0; 0; extra",           // no quote, large difference
        // Lines that are no position stay as they are.
        "", "AEX; Put; mrt; 2013; 380; 12,34; 12,34; 1; 1234,00",
        "AEX; Put; mrt; 20x3; 380; 12,34; 12,34; 1; 1234,00; 0", "AEX; Put; mrt; 0; 380; 1; 1; 1; 1; 0",
        "AEX; Put; mrt; 10000; 380; 1; 1; 1; 1; 0", "AEX;   ; mrt; 2013; 380; 1; 1; 1; 1; 0",
        "AEX;; mrt; 2013; 380; 1; 1; 1; 1; 0",
    };
    QStringList expected = {
        "AEX; Put; mrt; 2013; 380; 12,34; 10,00; 1; 234,00; 0",
        "AEX; Call; mrt; 2025; 900; 4,00; 5,00; 2; -200,00; 1",
        "AX1; Call; dec; 2026; 900; 3,5; 3,50; 1; 0,00; 0",
        "AEX; Call; xyz; 2013; 380; 2; 1,00; 3; 300,00; 0",
        "AEX; Call; apr; 2013; 400; 1.5; 0,00; 1; 150,00; 0",
        "AEX; Put; apr; 2013; 999; 20; 0,00; 10; 20000,00; 0",
    };
    expected += lines.mid(expected.size());
    EXPECT_EQ(UpdatePositionLines(lines, TDataRec(), quotes, QDate(2026, 12, 5)), expected);
}

TEST(PositionUpdate, DifferenceNeverTakesTheExponentForm)
{
    struct Case { double value; const char *text; };
    const Case cases[] = {
        {0, "0,00"}, {1234.5, "1235,00"}, {9999.4, "9999,00"}, {9999.6, "9999,60"},
        {20000, "20000,00"}, {-20000, "-20000,00"}, {12345.678, "12346,00"}, {99999.7, "99999,70"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DifferenceToStr(c.value), c.text) << c.value;
    // Wherever four significant digits wrote the value exactly, it is written as before: two
    // decimals up to 99,99, one significant decimal up to 999,9, none up to 9999.
    const auto written = [](int whole, int cents) {
        return QStringLiteral("%1%2,%3").arg(whole < 0 || cents < 0 ? "-" : "").arg(std::abs(whole))
            .arg(std::abs(cents), 2, 10, QLatin1Char('0'));
    };
    for (int cents = -9999; cents <= 9999; ++cents)
        ASSERT_EQ(DifferenceToStr(cents / 100.0), written(cents / 100, cents % 100)) << cents;
    for (int tenths = -9999; tenths <= 9999; tenths += 7)
        ASSERT_EQ(DifferenceToStr(tenths / 10.0), written(tenths / 10, tenths % 10 * 10)) << tenths;
    for (int whole = -9999; whole <= 9999; whole += 3)
        ASSERT_EQ(DifferenceToStr(whole), written(whole, 0)) << whole;
}
