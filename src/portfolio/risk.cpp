#include "portfolio/risk.h"

#include <QTimeZone>

#include "platform/vector_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace risk {

namespace {

constexpr double kTolerance = 1e-6;
constexpr int kMaxSteps = 100;

// Beyond this many standard deviations the normal distribution is 0 or 1 to within 1e-297.
// Further out the library's exp and erfc give results too small for a normal double, which
// takes them ten times longer, and options far from the money take their arguments there.
constexpr double kTail = 37;

double normalCdf(double x)
{
    if (std::fabs(x) > kTail)
        return x > 0 ? 1.0 : 0.0;
    return 0.5 * std::erfc(-x / std::numbers::sqrt2);
}

double normalPdf(double x)
{
    if (std::fabs(x) > kTail)
        return 0.0;
    return std::exp(-0.5 * x * x) * 0.5 * std::numbers::inv_sqrtpi * std::numbers::sqrt2;
}

// The formula for one option in one market, with everything that does not depend on the
// volatility worked out once: the implied volatility evaluates it at many volatilities.
class Pricer
{
public:
    Pricer(const Option &option, const Market &market)
        : m_call(option.right == Right::Call),
          m_years(option.years),
          m_rootYears(std::sqrt(option.years)),
          m_drift(std::log(market.index / option.strike)
                  + (market.rate - market.dividendYield) * option.years),
          m_carry(std::exp(-market.dividendYield * option.years)),
          m_index(market.index * m_carry),
          m_strike(option.strike * std::exp(-market.rate * option.years))
    {
    }

    // The least and the most a price can be without offering money for nothing.
    double lowerBound() const { return std::max(m_call ? m_index - m_strike : m_strike - m_index, 0.0); }
    double upperBound() const { return m_call ? m_index : m_strike; }

    // For an option that has not expired.
    double d1(double volatility) const
    {
        return (m_drift + 0.5 * volatility * volatility * m_years) / (volatility * m_rootYears);
    }
    double value(double volatility) const { return valueAt(volatility, d1(volatility)); }
    double valueAt(double volatility, double d1) const
    {
        const double d2 = d1 - volatility * m_rootYears;
        return m_call ? m_index * normalCdf(d1) - m_strike * normalCdf(d2)
                      : m_strike * normalCdf(-d2) - m_index * normalCdf(-d1);
    }
    double delta(double volatility) const
    {
        const double d = d1(volatility);
        return m_call ? m_carry * normalCdf(d) : -m_carry * normalCdf(-d);
    }
    double vegaAt(double d1) const { return m_index * normalPdf(d1) * m_rootYears; }
    // The discounted index's density at d1 over the index, spread by the volatility.
    double gammaAt(double volatility, double d1, double index) const
    {
        return m_index * normalPdf(d1) / (index * index * volatility * m_rootYears);
    }
    // How the value bends, as its second derivative by the volatility over its first.
    double bendAt(double volatility, double d1) const
    {
        return d1 * (d1 - volatility * m_rootYears) / volatility;
    }
    // A first guess at the volatility a price implies: Corrado and Miller's approximation,
    // written for a call; a put's price becomes the call's by put-call parity. None where the
    // approximation gives nothing.
    std::optional<double> guess(double price) const
    {
        const double call = m_call ? price : price + m_index - m_strike;
        const double excess = call - 0.5 * (m_index - m_strike);
        const double square = excess * excess - (m_index - m_strike) * (m_index - m_strike) / std::numbers::pi;
        const double volatility = std::sqrt(2 * std::numbers::pi / m_years) / (m_index + m_strike)
            * (excess + std::sqrt(std::max(square, 0.0)));
        return std::isfinite(volatility) ? std::optional<double>(volatility) : std::nullopt;
    }
    // Where the value bends from convex to concave; from there Newton's steps approach the
    // root from one side.
    double inflexion() const { return std::sqrt(2.0 * std::fabs(m_drift) / m_years); }

private:
    bool m_call;
    // The dividends' discount e^(-qT), and the index and the strike discounted: S e^(-qT) and
    // K e^(-rT).
    double m_years, m_rootYears, m_drift, m_carry, m_index, m_strike;
};

} // namespace

namespace {

// Where the formula is used: before expiry, with a volatility, an index and a strike. Elsewhere
// its limits hold, and working it out would divide by 0.
bool bends(const Option &option, const Market &market, double volatility)
{
    return option.years > 0 && volatility > 0 && market.index > 0 && option.strike > 0;
}

} // namespace

double Price(const Option &option, const Market &market, double volatility)
{
    if (option.years <= 0 || volatility <= 0) {
        const double intrinsic = option.right == Right::Call ? market.index - option.strike
                                                             : option.strike - market.index;
        return std::max(intrinsic, 0.0);
    }
    const Pricer pricer(option, market);
    if (!bends(option, market, volatility))
        return pricer.lowerBound();
    return pricer.value(volatility);
}

double Gamma(const Option &option, const Market &market, double volatility)
{
    if (!bends(option, market, volatility))
        return 0;
    const Pricer pricer(option, market);
    return pricer.gammaAt(volatility, pricer.d1(volatility), market.index);
}

double Vega(const Option &option, const Market &market, double volatility)
{
    if (!bends(option, market, volatility))
        return 0;
    const Pricer pricer(option, market);
    return pricer.vegaAt(pricer.d1(volatility)) / 100;
}

double ThetaPerDay(const Option &option, const Market &market, double volatility)
{
    Option dayLater = option;
    dayLater.years -= 1 / kDaysPerYear;
    return Price(dayLater, market, volatility) - Price(option, market, volatility);
}

double Delta(const Option &option, const Market &market, double volatility)
{
    if (!bends(option, market, volatility)) {
        // The slope of the limit: the discounted index's share where the option is worth
        // something, nothing where it is not.
        const double carry = option.years > 0 ? std::exp(-market.dividendYield * option.years) : 1.0;
        if (!(Price(option, market, volatility) > 0))
            return 0;
        return option.right == Right::Call ? carry : -carry;
    }
    return Pricer(option, market).delta(volatility);
}

double LowerBound(const Option &option, const Market &market)
{
    return Pricer(option, market).lowerBound();
}

double UpperBound(const Option &option, const Market &market)
{
    return Pricer(option, market).upperBound();
}

std::optional<double> ImpliedVolatility(const Option &option, const Market &market, double price)
{
    if (!(price > 0) || !(market.index > 0) || !(option.strike > 0) || !(option.years > 0))
        return std::nullopt;
    const Pricer pricer(option, market);
    if (price <= pricer.lowerBound() || price >= pricer.upperBound())
        return std::nullopt;

    // Halley's steps (Newton's, corrected for the bend) on the value, which rises with the
    // volatility, kept inside a bracket that every evaluation narrows: a step that would leave
    // it bisects it instead. From a close first guess a table full of options takes about
    // three steps each.
    double low = kLowestVolatility;
    double high = kHighestVolatility;
    double volatility = std::clamp(pricer.guess(price).value_or(pricer.inflexion()), low, high);
    for (int step = 0; step < kMaxSteps; ++step) {
        const double d1 = pricer.d1(volatility);
        const double excess = pricer.valueAt(volatility, d1) - price;
        (excess > 0 ? high : low) = volatility;
        const double vega = pricer.vegaAt(d1);
        double next = low;
        if (vega > 0) {
            const double newton = excess / vega;
            const double correction = 1 - 0.5 * newton * pricer.bendAt(volatility, d1);
            // Far from the root the correction can mislead; Newton's step alone then.
            next = volatility - (correction > 0.5 ? newton / correction : newton);
        }
        if (!(next > low && next < high))
            next = 0.5 * (low + high);
        const bool settled = std::fabs(next - volatility) < kTolerance || high - low < kTolerance;
        volatility = next;
        if (settled)
            break;
    }
    // A root beyond either end of the range drives the steps onto that end.
    if (volatility - kLowestVolatility < kTolerance || kHighestVolatility - volatility < kTolerance)
        return std::nullopt;
    return volatility;
}

QDateTime ExpiryMoment(const QDate &expiryDay)
{
    static const QTimeZone amsterdam = [] {
        const QTimeZone zone("Europe/Amsterdam");
        const QTimeZone chosen = zone.isValid() ? zone : QTimeZone::systemTimeZone();
        // Reading the zone's data leaves the wide vector registers in use, and the figures of
        // the first overview or report are worked out right after this first call: cleared
        // here, that first table takes half the time.
        platform::leaveWideVectorState();
        return chosen;
    }();
    return QDateTime(expiryDay, QTime(16, 0), amsterdam);
}

double YearsToExpiry(const QDateTime &now, const QDate &expiryDay)
{
    constexpr double kMsPerYear = kDaysPerYear * 24 * 3600 * 1000;
    return double(now.msecsTo(ExpiryMoment(expiryDay))) / kMsPerYear;
}

} // namespace risk
