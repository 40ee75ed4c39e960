#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "portfolio/cover.h"

using namespace cover;
using risk::Right;

TEST(MarginEstimate, PublishedExamplesAndTheFloorOfThePrice)
{
    struct Case { Right right; double strike, index, price, percent, amount, margin; };
    const Case cases[] = {
        {Right::Put, 400, 444, 2.20, 10, 1, 3780.00},
        {Right::Call, 540, 527, 4.80, 7.5, 1, 4335.00},
        {Right::Put, 64, 66, 1.60, 15, 1, 1090.00},
        // So far out of the money that the percentage gives less than the price: the price.
        {Right::Call, 1200, 500, 0.50, 10, 2, 100.00},
        {Right::Put, 400, 444, 2.20, 0, 1, 220.00},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(100 * c.amount * MarginPerOption(c.right, c.strike, c.price, c.index, c.percent / 100),
                    c.margin, 1e-9) << c.strike << " " << c.percent;
}

TEST(MarginEstimate, PutsAndCallsOfOneExpiryPairedDearestFirst)
{
    const QDate june(2026, 6, 19), july(2026, 7, 17);
    struct Case { const char *why; std::vector<WrittenContracts> written; double margin; };
    const Case cases[] = {
        {"two puts, one call", {{Right::Put, june, 2, 3780}, {Right::Call, june, 1, 4335}}, 4335 + 3780},
        {"other expiries", {{Right::Put, june, 2, 3780}, {Right::Call, july, 1, 4335}}, 2 * 3780 + 4335},
        {"dearest with dearest",
         {{Right::Put, june, 1, 1000}, {Right::Call, june, 2, 2000}, {Right::Put, june, 1, 3780}}, 3780 + 2000},
        {"no expiry is not paired", {{Right::Put, QDate(), 1, 300}, {Right::Call, QDate(), 1, 400}}, 700},
        {"no contracts", {{Right::Put, june, 0, 300}, {Right::Call, june, -2, 400}}, 0},
        {"many across", {{Right::Put, june, 5, 10}, {Right::Call, june, 3, 20}, {Right::Call, june, 4, 5}}, 3 * 20 + 2 * 10 + 2 * 5},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(PairedMargin(c.written), c.margin) << c.why;
}
