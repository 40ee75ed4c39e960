#include <gtest/gtest.h>

#include "positions/position_rules.h"
#include "market/position_update.h"
#include "support/qt_printers.h"

#include <cstdlib>

TEST(PositionUpdate, EachSeriesIsLookedUpUnderItsOwnExpiryDay)
{
    // Rows on the days that the old rules looked up beside the exchange's days.
    QuoteList quotes;
    for (const char *line : {"AEX P; 20-03-2025; 900,00; 1,00", "AEX P; 21-03-2025; 900,00; 2,00",
                             "AEX P; 12-06-2025; 900,00; 9,00", "AEX P; 13-06-2025; 900,00; 4,00",
                             "AEX P; 06-03-2026; 900,00; 9,00", "AEX P; 31-12-2026; 900,00; 5,00"})
        quotes.add(line);
    const struct {
        const char *line, *updated;
    } cases[] = {
        {"AEX; Put; mrt; 2025; 900; 1; 0; 1; 0; 1", "AEX; Put; mrt; 2025; 900; 1; 2,00; 1; -100,00; 1"},
        {"AX2; Put; jun; 2025; 900; 1; 0; 1; 0; 1", "AX2; Put; jun; 2025; 900; 1; 4,00; 1; -300,00; 1"},
        {"AX1; Put; jan; 2027; 900; 1; 0; 1; 0; 1", "AX1; Put; jan; 2027; 900; 1; 5,00; 1; -400,00; 1"},
        // February 2026 has four Fridays: no quote can exist, so the line keeps its price.
        {"AX5; Put; feb; 2026; 900; 1; 0,50; 1; 50,00; 1", "AX5; Put; feb; 2026; 900; 1; 0,50; 1; 50,00; 1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UpdatePositionLines({c.line}, TDataRec(), quotes), QStringList{c.updated}) << c.line;
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
        "AEX; Call; mrt; 2025; 900; 4,00; 0; 2; 0; 1",                // March expiry on the 21st
        "AX1; Call; dec; 2026; 900; 3,5; 1; 1; 0; 0",                 // weekly series, first Friday
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
        "AEX; Call; mrt; 2025; 900; 4,00; 9,00; 2; -1000,00; 1",
        "AX1; Call; dec; 2026; 900; 3,5; 3,50; 1; 0,00; 0",
        "AEX; Call; xyz; 2013; 380; 2; 1,00; 3; 300,00; 0",
        "AEX; Call; apr; 2013; 400; 1.5; 0,00; 1; 150,00; 0",
        "AEX; Put; apr; 2013; 999; 20; 0,00; 10; 20000,00; 0",
    };
    expected += lines.mid(expected.size());
    EXPECT_EQ(UpdatePositionLines(lines, TDataRec(), quotes), expected);
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
