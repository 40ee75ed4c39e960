#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTimeZone>

#include "portfolio/roll_candidates.h"

// A put of March 2027 written at 880, rolled with the AEX at 900: the candidates are the puts of
// the next three expiries after 19 March with a strike within 5 % (855 to 945). Good Friday 2027
// falls on 26 March, so the fourth Friday's series expires on Thursday the 25th.
TEST(RollCandidates, NextThreeExpiriesOfTheSameKindNearTheIndex)
{
    const QStringList quotes = {
        "AEX P; 19-03-2027; 880,00; 9,00",    // its own expiry
        "AEX P; 25-03-2027; 860,00; 4,00",    // AX4 of March, moved back from Good Friday
        "AEX P; 25-03-2027; 850,00; 3,00",    // more than 5 % below the index
        "AEX C; 25-03-2027; 900,00; 14,00",   // a call
        "AEX P; 02-04-2027; 900,00; 16,50",   // AX1 of April
        "AEX P; 09-04-2027; 945,00; 48,00",   // AX2 of April, at the edge of the span
        "AEX P; 09-04-2027; 890,00; 0,00",    // no price
        "AEX P; 16-04-2027; 880,00; 15,00",   // a fourth later expiry
    };
    PortfolioPosition put;
    put.series = "AEX";
    put.kind = "Put";
    put.month = "mrt";
    put.year = 2027;
    put.expiry = QDate(2027, 3, 19);
    put.strike = 880;
    const QDateTime now(QDate(2027, 3, 1), QTime(12, 0), QTimeZone("Europe/Amsterdam"));
    const std::vector<RollCandidate> found = RollCandidates(put, quotes, {900, 0.02, 0.03}, now, 9.50, 2);

    struct Expected { const char *title; const char *expiry; double credit; int extraDays; };
    const Expected expected[] = {
        {"AX4 Put mrt 2027 860", "25-03-2027", (4.00 - 9.50) * 200, 6},
        {"AX1 Put apr 2027 900", "02-04-2027", (16.50 - 9.50) * 200, 14},
        {"AX2 Put apr 2027 945", "09-04-2027", (48.00 - 9.50) * 200, 21},
    };
    ASSERT_EQ(found.size(), std::size(expected));
    for (size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(expected[i].title);
        EXPECT_EQ(found[i].title("Put"), expected[i].title);
        EXPECT_EQ(found[i].expiry.toString("dd-MM-yyyy"), expected[i].expiry);
        EXPECT_DOUBLE_EQ(found[i].netCredit, expected[i].credit);
        EXPECT_DOUBLE_EQ(*found[i].creditPerExtraDay, expected[i].credit / expected[i].extraDays);
        ASSERT_TRUE(found[i].delta);
        EXPECT_LT(*found[i].delta, 0) << "a put's delta";
    }
    EXPECT_EQ(RollLine(put, found[1], 2), "AX1; Put; apr; 2027; 900; 16,50; 16,50; 2; 0,00; 1");
    EXPECT_TRUE(RollCandidates(put, quotes, {0, 0.02, 0.03}, now, 9.50, 2).empty()) << "no index, no span";
}
