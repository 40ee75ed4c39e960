#include "portfolio/payoff.h"

#include <algorithm>
#include <cmath>

namespace {

// A result this close to 0 is nil: far below a cent, far above the rounding of the sums.
constexpr double kNil = 1e-6;
constexpr double kLevelPrecision = 1e-9;
constexpr int kMaxHalvings = 200;

bool nil(double value)
{
    return std::fabs(value) <= kNil;
}

// The level between a and b at which f changes sign, f(a) and f(b) having opposite signs.
template<typename F>
double halve(F f, double a, double fa, double b)
{
    for (int i = 0; i < kMaxHalvings && b - a > kLevelPrecision; ++i) {
        const double middle = 0.5 * (a + b);
        const double fm = f(middle);
        if (nil(fm))
            return middle;
        if ((fm < 0) == (fa < 0)) {
            a = middle;
            fa = fm;
        } else {
            b = middle;
        }
    }
    return 0.5 * (a + b);
}

} // namespace

Payoff PayoffOf(const ScenarioBook &book, double shiftPoints, int steps)
{
    Payoff payoff;
    const double index = book.market.index;
    payoff.low = index * (1 - kPayoffSpan);
    payoff.high = index * (1 + kPayoffSpan);
    if (book.positions.empty() || !(index > 0))
        return payoff;
    steps = std::max(steps, 1);

    const std::vector<double> today = YearsLeftAt(book, book.now);
    for (size_t i = 0; i < book.positions.size(); ++i) {
        const QDate expiry = book.positions[i].position.expiry;
        if (today[i] > 0 && (!payoff.firstExpiry.isValid() || expiry < payoff.firstExpiry))
            payoff.firstExpiry = expiry;
    }
    const std::vector<double> atFirst = payoff.firstExpiry.isValid()
        ? YearsLeftAt(book, risk::ExpiryMoment(payoff.firstExpiry))
        : YearsLeftAtOwnExpiry(book);

    // The curve at the first expiry bends only at the strikes of positions at their intrinsic
    // value; positions still running make it curved everywhere.
    std::vector<double> levels;
    bool curved = false;
    for (size_t i = 0; i < book.positions.size(); ++i) {
        const double strike = book.positions[i].position.strike;
        if (atFirst[i] > 0)
            curved = true;
        else if (strike > payoff.low && strike < payoff.high)
            levels.push_back(strike);
    }
    for (int step = 0; step <= steps; ++step)
        levels.push_back(payoff.low + (payoff.high - payoff.low) * step / steps);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

    const auto atFirstExpiry = [&](double level) { return ScenarioDifference(book, atFirst, level, shiftPoints); };
    payoff.points.reserve(levels.size());
    for (double level : levels)
        payoff.points.push_back({level, ScenarioDifference(book, today, level, shiftPoints), atFirstExpiry(level)});

    const auto lowest = [&](double PayoffPoint::*curve) {
        const auto worst = std::min_element(payoff.points.begin(), payoff.points.end(),
                                            [curve](const PayoffPoint &a, const PayoffPoint &b) { return a.*curve < b.*curve; });
        return PayoffExtreme{worst->level, (*worst).*curve};
    };
    payoff.worstToday = lowest(&PayoffPoint::today);
    payoff.worstAtFirstExpiry = lowest(&PayoffPoint::atFirstExpiry);

    // Neighbouring levels lie on one piece of the curve, so a nil between them is found on
    // that piece; nils that touch are one break-even.
    const auto add = [&payoff](double from, double to) {
        if (!payoff.breakEvens.empty() && from <= payoff.breakEvens.back().to)
            payoff.breakEvens.back().to = std::max(payoff.breakEvens.back().to, to);
        else
            payoff.breakEvens.push_back({from, to});
    };
    for (size_t i = 0; i + 1 < payoff.points.size(); ++i) {
        const double a = payoff.points[i].level, fa = payoff.points[i].atFirstExpiry;
        const double b = payoff.points[i + 1].level, fb = payoff.points[i + 1].atFirstExpiry;
        if (nil(fa) && nil(fb) && !curved) {
            add(a, b);
        } else if (nil(fa) || nil(fb)) {
            if (nil(fa))
                add(a, a);
            if (nil(fb))
                add(b, b);
        } else if ((fa < 0) != (fb < 0)) {
            const double level = curved ? halve(atFirstExpiry, a, fa, b) : a + fa * (b - a) / (fa - fb);
            add(level, level);
        }
    }
    return payoff;
}
