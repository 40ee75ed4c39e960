#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTimeZone>

#include <cmath>

#include "portfolio/scenarios.h"

namespace {

// Tuesday 8 December 2026: AX2 expires on Friday the 11th, the monthly series on the 18th.
const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 0), QTimeZone("Europe/Amsterdam"));

ScenarioBook bookOf(const QStringList &lines, const QStringList &quotes = {})
{
    const PortfolioInputs inputs{lines, 900.0, 2.0, 3.0, kNow, 7.5, quotes};
    return *MakeScenarioBook(inputs, PortfolioRows(inputs));
}

} // namespace

TEST(ScenarioGrid, NowWithoutAMoveIsVerschilPositiesToTheCent)
{
    // Differences as a download writes them; many contracts magnify any slack in a volatility.
    const QStringList lines = {
        "AEX; Put; dec; 2026; 880; 12,30; 6,85; 3; 1635,00; 1", "AEX; Call; jan; 2027; 940; 8,00; 9,40; 250; -35000,00; 1",
        "AX2; Put; dec; 2026; 850; 1,50; 0,45; 99; 10395,00; 1", "AEX; Put; mrt; 2027; 1200; 250,00; 305,00; 10; -55000,00; 1",
        "AEX; Put; jan; 2027; 860; 4,00; 14,00; 5; -5000,00; 0",
    };
    const ScenarioBook book = bookOf(lines);
    ASSERT_EQ(book.positions.size(), 4u);
    for (const ScenarioPosition &p : book.positions)
        ASSERT_FALSE(p.borrowedFrom) << PositionTitleText(p.position).toStdString();
    const std::vector<ScenarioRow> grid = ScenarioGrid(book);
    ASSERT_EQ(grid.size(), kIndexMoves.size());
    EXPECT_EQ(grid[4].level, 900);
    EXPECT_NEAR(grid[4].now, 1635 - 35000 + 10395 - 55000, 0.005);
}

TEST(ScenarioGrid, ExpiredByThenAtIntrinsicValueAndFiniteAtEveryShift)
{
    // The weekly put expires within the week: from then on only its intrinsic value counts.
    const ScenarioBook book = bookOf({"AX2; Put; dec; 2026; 880; 5,00; 2,00; 2; 600,00; 1"});
    for (double shift : {-50.0, -5.0, 0.0, 10.0}) {
        for (const ScenarioRow &row : ScenarioGrid(book, shift)) {
            const double intrinsic = 2 * 100 * (5 - std::max(880 - row.level, 0.0));
            EXPECT_DOUBLE_EQ(row.inOneWeek, intrinsic) << row.move;
            EXPECT_DOUBLE_EQ(row.atExpiry, intrinsic) << row.move;
            EXPECT_TRUE(std::isfinite(row.now)) << shift << " " << row.move;
        }
    }
    // A fall of 100 %: the put is worth its discounted strike.
    const double years = risk::YearsToExpiry(kNow, QDate(2026, 12, 11));
    EXPECT_NEAR(ScenarioDifference(book, YearsLeftAt(book, kNow), 0, -5), 2 * 100 * (5 - 880 * std::exp(-0.02 * years)), 1e-6);
}

TEST(ScenarioBook, VolatilityOfTheNearestStrikeOfTheSameKindAndExpiry)
{
    const QString held = "AEX; Put; dec; 2026; 880; 10,00; 0,00; 1; 1000,00; 1";
    const QStringList quotes = {"AEX P; 18-12-2026; 870,00; 6,00", "AEX P; 18-12-2026; 890,00; 12,00",
                                "AEX P; 18-12-2026; 880,00; ", "AEX C; 18-12-2026; 880,00; 25,00",
                                "AEX P; 15-01-2027; 880,00; 15,00"};
    const std::pair<QStringList, std::optional<double>> cases[] = {
        {{held}, 870},  // as near above as below: the lower
        {{held, "AEX; Put; dec; 2026; 885; 1,00; 11,00; 1; -1000,00; 0"}, 885},
    };
    for (const auto &[lines, strike] : cases) {
        const ScenarioBook book = bookOf(lines, quotes);
        ASSERT_EQ(book.positions.size(), 1u);
        EXPECT_EQ(book.positions[0].borrowedFrom, strike);
        EXPECT_TRUE(book.positions[0].volatility);
    }
    EXPECT_EQ(ScenarioLeftOutText(bookOf({held}, {quotes.mid(2)})),
              "Niet meegeteld: AEX Put dec 2026 880,00 (geen volatiliteit)");
    EXPECT_EQ(ScenarioLeftOutText(bookOf({"AX5; Put; feb; 2027; 880; 10; 5; 1; 500,00; 1"})),
              "Niet meegeteld: AX5 Put feb 2027 880,00 (geen expiratie in die maand)");
    EXPECT_FALSE(MakeScenarioBook({{held}, std::nullopt, 2, 3, kNow}, {})) << "no index quote yet";
}
