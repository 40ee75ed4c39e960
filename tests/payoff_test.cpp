#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTimeZone>

#include "portfolio/payoff.h"

namespace {

// Tuesday 8 December 2026: the December series expires on the 18th, March 2027's on the 19th.
const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 0), QTimeZone("Europe/Amsterdam"));

ScenarioBook bookOf(const QStringList &lines)
{
    const PortfolioInputs inputs{lines, 900.0, 2.0, 3.0, kNow};
    return *MakeScenarioBook(inputs, PortfolioRows(inputs));
}

} // namespace

TEST(Payoff, BreakEvensSolvedOnTheStraightPiecesAndTheWorstAtTheEnd)
{
    // A put at 880 for 10 and two calls at 920 for 8: 26 points of premium, nil at expiry at
    // 880 - 26 and at 920 + 26 / 2.
    const Payoff payoff = PayoffOf(bookOf({"AEX; Put; dec; 2026; 880; 10; 12,00; 1; -200,00; 1",
                                           "AEX; Call; dec; 2026; 920; 8; 6,50; 2; 300,00; 1"}));
    EXPECT_EQ(payoff.firstExpiry, QDate(2026, 12, 18));
    ASSERT_EQ(payoff.breakEvens.size(), 2u);
    EXPECT_NEAR(payoff.breakEvens[0].from, 854, 1e-9);
    EXPECT_NEAR(payoff.breakEvens[1].from, 933, 1e-9);
    EXPECT_DOUBLE_EQ(payoff.worstAtFirstExpiry.level, 1080);
    EXPECT_NEAR(payoff.worstAtFirstExpiry.value, 100 * (26 - 2 * 160), 1e-9);
    const auto at900 = std::find_if(payoff.points.begin(), payoff.points.end(), [](const PayoffPoint &p) { return p.level == 900; });
    ASSERT_NE(at900, payoff.points.end());
    EXPECT_NEAR(at900->today, -200 + 300, 0.005) << "today's curve passes through \"Verschil posities\"";
}

TEST(Payoff, ANilStretchIsOneBreakEvenAndLaterExpiriesBendTheCurve)
{
    // Written for nothing: nil from the strike up, one stretch rather than a level per point.
    const Payoff free = PayoffOf(bookOf({"AEX; Put; dec; 2026; 880; 0; 12,00; 1; -1200,00; 1"}));
    ASSERT_EQ(free.breakEvens.size(), 1u);
    EXPECT_DOUBLE_EQ(free.breakEvens[0].from, 880);
    EXPECT_DOUBLE_EQ(free.breakEvens[0].to, 1080);

    // A March call still runs at December's expiry: the curve bends, its nil is found anyway.
    const ScenarioBook book = bookOf({"AEX; Put; dec; 2026; 880; 10; 12,00; 1; -200,00; 1",
                                      "AEX; Call; mrt; 2027; 920; 30; 25,00; 1; 500,00; 1"});
    const Payoff payoff = PayoffOf(book);
    ASSERT_FALSE(payoff.breakEvens.empty());
    const std::vector<double> atDecember = YearsLeftAt(book, risk::ExpiryMoment(QDate(2026, 12, 18)));
    for (const BreakEven &level : payoff.breakEvens)
        EXPECT_NEAR(ScenarioDifference(book, atDecember, level.from), 0, 1e-4) << level.from;
    EXPECT_TRUE(PayoffOf(bookOf({})).points.empty());
}
