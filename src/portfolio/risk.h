#pragma once
// Risk figures of an option on the AEX index: the European Black-Scholes value with a
// continuous dividend yield, its delta, gamma, vega and theta, and the volatility that a quoted
// price implies. Rates, yields and volatilities are fractions (0.02 for 2 %), times in years.

#include <QDate>
#include <QDateTime>

#include <optional>

namespace risk {

enum class Right { Call, Put };

struct Market {
    double index = 0;          // level of the index
    double rate = 0;           // continuous interest rate
    double dividendYield = 0;  // continuous dividend yield of the index
};

struct Option {
    Right right = Right::Call;
    double strike = 0;
    double years = 0;  // time left to expiry
};

// At or past expiry, or without volatility, the intrinsic value. With an index or a strike of 0
// (an index move of -100 %) the value no longer depends on the volatility and is its limit, the
// discounted intrinsic value.
double Price(const Option &option, const Market &market, double volatility);
// How much the value moves per point the index moves. Where the value is its limit (see Price)
// the slope of that limit: the share of the index for an option worth something, else 0.
double Delta(const Option &option, const Market &market, double volatility);
// How much the delta moves per point the index moves, and how much the value moves per
// volatility point (one percentage point). Both 0 where the value does not bend with the index
// or depend on the volatility: at or past expiry, without volatility, with an index or a strike
// of 0.
double Gamma(const Option &option, const Market &market, double volatility);
double Vega(const Option &option, const Market &market, double volatility);
// What the value changes by in one day with nothing else moving: its value a day closer to
// expiry less its value now, the value at or past expiry being the intrinsic value. On the last
// day it is the time value that is left, where the derivative by time runs off to infinity.
double ThetaPerDay(const Option &option, const Market &market, double volatility);

// The bounds within which a price has a volatility: the discounted intrinsic value below, the
// discounted index (call) or strike (put) above.
double LowerBound(const Option &option, const Market &market);
double UpperBound(const Option &option, const Market &market);

// The volatility between 0.1 % and 500 % at which the option is worth price, to 1e-6. None
// when there is none to be had: no price, an unknown index, an expired option, or a price
// outside the bounds (or so close to one that no volatility in that range reaches it).
std::optional<double> ImpliedVolatility(const Option &option, const Market &market, double price);

inline constexpr double kLowestVolatility = 0.001;
inline constexpr double kHighestVolatility = 5.0;

inline constexpr double kDaysPerYear = 365;

// The moment an option expires: the end of its trading at 16:00 in Amsterdam on the expiry day
// (the settlement price is the average of the index over the half hour before).
QDateTime ExpiryMoment(const QDate &expiryDay);

// Years from now to the expiry moment, counted in days of 365; 0 at that moment and negative
// after it, when the option has expired.
double YearsToExpiry(const QDateTime &now, const QDate &expiryDay);

} // namespace risk
