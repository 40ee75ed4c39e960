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
