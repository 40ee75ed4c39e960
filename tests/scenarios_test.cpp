#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include <QTimeZone>

#include <cmath>

#include "market/expiry_calendar.h"
#include "portfolio/scenarios.h"
#include "positions/position_view.h"
#include "support/month_names.h"
#include "support/text_routines.h"

namespace {

// Tuesday 8 December 2026: AX2 expires on Friday the 11th, the monthly series on the 18th.
const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 0), QTimeZone("Europe/Amsterdam"));
const risk::Market kMarket{900, 0.02, 0.03};

risk::Option optionOf(const QString &series, const QString &kind, const QString &month, int year, double strike)
{
    const QDate expiry = SeriesExpiry(series, year, MonthNumber(month));
    return {kind.startsWith('C') ? risk::Right::Call : risk::Right::Put, strike, risk::YearsToExpiry(kNow, expiry)};
}

// A position line as a download leaves it: the price that a volatility gives, to the cent, and
// the difference worked out from it. No volatility: no price.
QString line(const QString &series, const QString &kind, const QString &month, int year, double strike,
             double transaction, double volatility, int amount, bool held = true)
{
    const double price = volatility > 0 ? risk::Price(optionOf(series, kind, month, year, strike), kMarket, volatility) : 0;
    const QString last = RealToStr(price, 5, 2);
    return QStringList{series, kind, month, QString::number(year), QString::number(strike), RealToStr(transaction, 5, 2),
                       last, QString::number(amount), DifferenceFor(amount, transaction, StrToReal(last)), held ? "1" : "0"}
        .join("; ");
}

// A quote line of the same day and strike at a volatility.
QString quote(const QString &kind, const QString &month, int year, double strike, double volatility)
{
    const risk::Option option = optionOf("AEX", kind, month, year, strike);
    return QStringLiteral("AEX %1; %2; %3,00; %4")
        .arg(kind.left(1), SeriesExpiry(u"AEX", year, MonthNumber(month)).toString("dd-MM-yyyy"))
        .arg(strike)
        .arg(RealToStr(risk::Price(option, kMarket, volatility), 5, 2));
}

PortfolioInputs inputsOf(const QStringList &lines, const QStringList &quotes = {})
{
    return {lines, 900.0, 2.0, 3.0, kNow, 7.5, quotes};
}

} // namespace

TEST(ScenarioGrid, NowWithoutAMoveIsVerschilPosities)
{
    const QStringList portfolios[] = {
        {line("AEX", "Put", "dec", 2026, 880, 12.30, 0.18, 3), line("AEX", "Call", "jan", 2027, 940, 8, 0.15, 2),
         line("AEX", "Put", "jan", 2027, 860, 4, 0.2, 5, false), line("AX2", "Put", "dec", 2026, 850, 1.5, 0.25, 1)},
        {line("AEX", "Put", "mrt", 2027, 1200, 250, 0.3, 10), line("AEX", "Call", "dec", 2026, 960, 0.8, 0.4, 7)},
        {line("AEX", "Call", "jun", 2027, 900, 41.25, 0.17, 250), line("AX4", "Put", "dec", 2026, 890, 9.99, 0.21, 99)},
    };
    for (const QStringList &lines : portfolios) {
        const PortfolioInputs inputs = inputsOf(lines);
        const std::vector<PortfolioRow> rows = PortfolioRows(inputs);
        const std::optional<ScenarioBook> book = MakeScenarioBook(inputs, rows);
        ASSERT_TRUE(book);
        ASSERT_TRUE(book->leftOut.empty()) << ScenarioLeftOutText(*book).toStdString();
        const std::vector<ScenarioRow> grid = ScenarioGrid(*book);
        ASSERT_EQ(grid.size(), kIndexMoves.size());
        EXPECT_EQ(grid[4].level, 900);
        EXPECT_NEAR(grid[4].now, TotalsOf(rows).heldDifference, 0.005) << lines.join("\n").toStdString();
    }
}

TEST(ScenarioGrid, ExpiredByThenAtIntrinsicValueAndFiniteAtEveryShift)
{
    // The weekly put expires within the week: from then on only its intrinsic value counts.
    const PortfolioInputs inputs = inputsOf({line("AX2", "Put", "dec", 2026, 880, 5, 0.2, 2)});
    const std::optional<ScenarioBook> book = MakeScenarioBook(inputs, PortfolioRows(inputs));
    ASSERT_TRUE(book && book->positions.size() == 1);
    for (double shift : {-50.0, -5.0, 0.0, 5.0, 10.0}) {
        for (const ScenarioRow &row : ScenarioGrid(*book, shift)) {
            const double intrinsic = 2 * 100 * (5 - std::max(880 - row.level, 0.0));
            EXPECT_DOUBLE_EQ(row.inOneWeek, intrinsic) << row.move;
            EXPECT_DOUBLE_EQ(row.atExpiry, intrinsic) << row.move;
            EXPECT_TRUE(std::isfinite(row.now)) << shift << " " << row.move;
        }
    }
    // A fall of 100 %: the put is worth its discounted strike.
    const double years = risk::YearsToExpiry(kNow, QDate(2026, 12, 11));
    EXPECT_NEAR(ScenarioDifference(*book, YearsLeftAt(*book, kNow), 0, -5), 2 * 100 * (5 - 880 * std::exp(-0.02 * years)), 1e-6);
}

TEST(ScenarioBook, VolatilityOfTheNearestStrikeOfTheSameKindAndExpiry)
{
    const QString held = line("AEX", "Put", "dec", 2026, 880, 10, 0, 1);
    struct Case {
        const char *why;
        QStringList lines, quotes;
        std::optional<double> strike, volatility;
    };
    const Case cases[] = {
        {"as near above as below: the lower", {held},
         {quote("Put", "dec", 2026, 870, 0.2), quote("Put", "dec", 2026, 890, 0.3), "AEX P; 18-12-2026; 880,00; ",
          quote("Call", "dec", 2026, 880, 0.4), quote("Put", "jan", 2027, 880, 0.5)},
         870, 0.2},
        {"a line of the list nearer still", {held, line("AEX", "Put", "dec", 2026, 885, 1, 0.25, 1, false)},
         {quote("Put", "dec", 2026, 870, 0.2)}, 885, 0.25},
        {"none of the kind and expiry", {held}, {quote("Call", "dec", 2026, 880, 0.4)}, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        const PortfolioInputs inputs = inputsOf(c.lines, c.quotes);
        const std::optional<ScenarioBook> book = MakeScenarioBook(inputs, PortfolioRows(inputs));
        ASSERT_TRUE(book);
        if (!c.strike) {
            EXPECT_TRUE(book->positions.empty()) << c.why;
            EXPECT_EQ(ScenarioLeftOutText(*book), "Niet meegeteld: AEX Put dec 2026 880,00 (geen volatiliteit)");
            continue;
        }
        ASSERT_EQ(book->positions.size(), 1u) << c.why;
        EXPECT_EQ(book->positions[0].borrowedFrom, c.strike) << c.why;
        EXPECT_NEAR(*book->positions[0].volatility, *c.volatility, 0.005) << c.why;
    }

    const PortfolioInputs noFifthFriday = inputsOf({"AX5; Put; feb; 2027; 880; 10; 5; 1; 500,00; 1"});
    EXPECT_EQ(ScenarioLeftOutText(*MakeScenarioBook(noFifthFriday, PortfolioRows(noFifthFriday))),
              "Niet meegeteld: AX5 Put feb 2027 880,00 (geen expiratie in die maand)");
    EXPECT_FALSE(MakeScenarioBook({{held}, std::nullopt, 2, 3, kNow}, {})) << "no index quote yet";
}
