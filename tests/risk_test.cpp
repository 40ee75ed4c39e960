#include <gtest/gtest.h>

#include <QTimeZone>

#include <cmath>

#include "portfolio/risk.h"

using namespace risk;

namespace {

constexpr Right kRights[] = {Right::Call, Right::Put};

QDateTime amsterdam(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), QTimeZone("Europe/Amsterdam"));
}

} // namespace

TEST(BlackScholes, PublishedValuesAndDeltas)
{
    struct Case {
        Right right;
        double index, strike, years, rate, yield, volatility, price, delta;
    };
    // Textbook examples: a stock option, an index option with a dividend yield, and a delta.
    const Case cases[] = {
        {Right::Call, 42, 40, 0.5, 0.10, 0, 0.20, 4.76, NAN},
        {Right::Put, 42, 40, 0.5, 0.10, 0, 0.20, 0.81, NAN},
        {Right::Call, 930, 900, 2.0 / 12, 0.08, 0.03, 0.20, 51.83, NAN},
        {Right::Call, 49, 50, 20.0 / 52, 0.05, 0, 0.20, 2.40, 0.522},
    };
    for (const Case &c : cases) {
        const Option option{c.right, c.strike, c.years};
        const Market market{c.index, c.rate, c.yield};
        EXPECT_NEAR(Price(option, market, c.volatility), c.price, 0.005) << c.index << " " << c.strike;
        if (!std::isnan(c.delta)) {
            EXPECT_NEAR(Delta(option, market, c.volatility), c.delta, 0.0005);
        }
    }
}

TEST(BlackScholes, PutCallParityAndDeltaAsTheSlopeOverAGrid)
{
    for (double strike : {700.0, 850.0, 900.0, 960.0, 1100.0})
        for (double years : {2.0 / 365, 0.1, 0.5, 2.0})
            for (double volatility : {0.08, 0.2, 0.6})
                for (double yield : {0.0, 0.03}) {
                    const Market market{900, 0.02, yield};
                    const Option call{Right::Call, strike, years};
                    const Option put{Right::Put, strike, years};
                    const double parity = 900 * std::exp(-yield * years) - strike * std::exp(-0.02 * years);
                    ASSERT_NEAR(Price(call, market, volatility) - Price(put, market, volatility), parity, 1e-9)
                        << strike << " " << years << " " << volatility;
                    for (const Option &option : {call, put}) {
                        const double h = 0.01;
                        const double slope = (Price(option, {900 + h, 0.02, yield}, volatility)
                                              - Price(option, {900 - h, 0.02, yield}, volatility)) / (2 * h);
                        ASSERT_NEAR(Delta(option, market, volatility), slope, 1e-6) << strike << " " << years;
                    }
                }
}

TEST(ImpliedVolatility, RecoversTheVolatilityAPriceWasMadeWith)
{
    int recovered = 0;
    for (Right right : kRights)
        for (double moneyness : {0.8, 0.9, 0.97, 1.0, 1.03, 1.1, 1.25})
            for (double years : {3.0 / 365, 30.0 / 365, 0.5, 3.0})
                for (double volatility : {0.05, 0.18, 0.4, 1.5, 4.0}) {
                    const Market market{900, 0.02, 0.03};
                    const Option option{right, 900 * moneyness, years};
                    const double price = Price(option, market, volatility);
                    // Far from the money a short option's value no longer tells its volatility:
                    // it vanishes or stays within a rounding error of its bound.
                    if (price < 1e-6 || price - LowerBound(option, market) < 1e-6)
                        continue;
                    const std::optional<double> implied = ImpliedVolatility(option, market, price);
                    ASSERT_TRUE(implied) << moneyness << " " << years << " " << volatility;
                    EXPECT_NEAR(*implied, volatility, 1e-6) << moneyness << " " << years << " " << volatility;
                    ++recovered;
                }
    EXPECT_GT(recovered, 200);
}

TEST(ImpliedVolatility, NoneWhenThePriceTellsNothing)
{
    const Market market{900, 0.02, 0.03};
    const Option call{Right::Call, 850, 0.25};
    const Option put{Right::Put, 950, 0.25};
    struct Case {
        const char *why;
        Option option;
        Market market;
        double price;
    };
    const Case cases[] = {
        {"no price", call, market, 0},
        {"below the discounted intrinsic value", call, market, LowerBound(call, market) - 0.5},
        {"at the discounted intrinsic value", put, market, LowerBound(put, market)},
        {"above the upper bound", call, market, UpperBound(call, market) + 1},
        {"at the upper bound of a put", put, market, UpperBound(put, market)},
        {"above what 500 % gives", call, market, Price(call, market, 5.5)},
        {"below what 0,1 % gives", put, market, Price(put, market, 0.0005)},
        {"index unknown", call, Market{0, 0.02, 0.03}, 60},
        {"expired", Option{Right::Call, 850, 0}, market, 60},
        {"expired yesterday", Option{Right::Put, 950, -1.0 / 365}, market, 60},
    };
    for (const Case &c : cases)
        EXPECT_FALSE(ImpliedVolatility(c.option, c.market, c.price)) << c.why;
}

TEST(YearsToExpiry, CountsToFourOClockInAmsterdamInDaysOf365)
{
    struct Case {
        QDateTime now;
        QDate expiry;
        double days;
    };
    const Case cases[] = {
        {amsterdam(2026, 12, 18, 16, 0), QDate(2026, 12, 18), 0},
        {amsterdam(2026, 12, 17, 16, 0), QDate(2026, 12, 18), 1},
        // Expired once trading ended, though the exchange is still open.
        {amsterdam(2026, 12, 18, 17, 30), QDate(2026, 12, 18), -1.5 / 24},
        {amsterdam(2026, 12, 18, 15, 59), QDate(2026, 12, 18), 1.0 / 24 / 60},
        // Summer time: 16:00 in Amsterdam is 14:00 UTC, in winter 15:00 UTC.
        {QDateTime(QDate(2026, 6, 19), QTime(14, 0), QTimeZone::utc()), QDate(2026, 6, 19), 0},
        {QDateTime(QDate(2026, 1, 16), QTime(14, 0), QTimeZone::utc()), QDate(2026, 1, 16), 1.0 / 24},
        // Over the change to summer time the night is an hour shorter.
        {amsterdam(2026, 3, 27, 16, 0), QDate(2026, 4, 17), 21 - 1.0 / 24},
        {amsterdam(2026, 1, 16, 16, 0), QDate(2027, 1, 16), 365},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(YearsToExpiry(c.now, c.expiry) * 365, c.days, 1e-9) << c.now.toString().toStdString();
}

TEST(Greeks, MatchFiniteDifferencesOfThePriceAndTheTextbook)
{
    // The textbook's 20-week call: gamma 0.066, vega 12.1 per unit of volatility, theta -4.31 a
    // year, of which a day is a 365th.
    const Option textbook{Right::Call, 50, 20.0 / 52};
    const Market stock{49, 0.05, 0};
    EXPECT_NEAR(Gamma(textbook, stock, 0.2), 0.066, 0.0005);
    EXPECT_NEAR(Vega(textbook, stock, 0.2), 0.121, 0.0005);
    EXPECT_NEAR(ThetaPerDay(textbook, stock, 0.2), -4.31 / 365, 0.0002);

    for (Right right : kRights)
        for (double strike : {300.0, 880.0, 900.0, 1100.0, 3000.0})
            for (double years : {1.0 / 365 / 24, 3.0 / 365, 0.5})
                for (double volatility : {0.08, 0.6}) {
                    const Option option{right, strike, years};
                    const Market market{900, 0.02, 0.03};
                    const auto price = [&](double index, double v) { return Price(option, {index, 0.02, 0.03}, v); };
                    const double h = 0.05, e = 1e-5;
                    const double bend = (price(900 + h, volatility) - 2 * price(900, volatility) + price(900 - h, volatility)) / (h * h);
                    const double gamma = Gamma(option, market, volatility);
                    ASSERT_NEAR(gamma, bend, 1e-3 * gamma + 2e-6) << strike << " " << years << " " << volatility;
                    ASSERT_NEAR(Vega(option, market, volatility),
                                (price(900, volatility + e) - price(900, volatility - e)) / (2 * e) / 100, 1e-6);
                }
}

TEST(Greeks, FiniteAndAtTheirLimitsWhereTheFormulaBreaksDown)
{
    struct Case {
        const char *why;
        Right right;
        double strike, years, index, volatility;
        double price, delta, gamma, vega, theta;  // NAN: only finite
    };
    const Case cases[] = {
        {"expired", Right::Call, 880, 0, 900, 0.2, 20, 1, 0, 0, 0},
        {"expired yesterday", Right::Put, 880, -1.0 / 365, 900, 0.2, 0, 0, 0, 0, 0},
        // On the last day the theta is the time value left, not the runaway derivative.
        {"an hour left", Right::Call, 900, 1.0 / 365 / 24, 900, 0.2, 0.767, NAN, NAN, NAN, -0.767},
        {"index fallen 100 %, put", Right::Put, 900, 0.5, 0, 0.2, 900 * std::exp(-0.01), -std::exp(-0.015), 0, 0, NAN},
        {"index fallen 100 %, call", Right::Call, 900, 0.5, 0, 0.2, 0, 0, 0, 0, 0},
        {"no strike", Right::Call, 0, 0.5, 900, 0.2, 900 * std::exp(-0.015), std::exp(-0.015), 0, 0, NAN},
        {"no volatility", Right::Put, 950, 0.5, 900, 0, 50, NAN, 0, 0, NAN},
        {"deep in the money", Right::Put, 3000, 0.5, 900, 0.2, NAN, NAN, 0, 0, NAN},
        {"deep out of the money", Right::Call, 3000, 0.01, 900, 0.2, 0, 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        const Option option{c.right, c.strike, c.years};
        const Market market{c.index, 0.02, 0.03};
        const double figures[] = {Price(option, market, c.volatility), Delta(option, market, c.volatility),
                                  Gamma(option, market, c.volatility), Vega(option, market, c.volatility),
                                  ThetaPerDay(option, market, c.volatility)};
        const double expected[] = {c.price, c.delta, c.gamma, c.vega, c.theta};
        for (int i = 0; i < 5; ++i) {
            EXPECT_TRUE(std::isfinite(figures[i])) << c.why << " figure " << i;
            if (!std::isnan(expected[i])) {
                EXPECT_NEAR(figures[i], expected[i], 0.005) << c.why << " figure " << i;
            }
        }
    }
}
