#pragma once
// The payoff chart's figures: "Verschil posities" of the held positions against the index
// level, today and at the first expiry among them; the levels at which the result at that expiry
// is nil; and the worst result within the range. No window: the figures are for a chart to
// draw and for the report.

#include <QDate>

#include <vector>

#include "portfolio/scenarios.h"

struct PayoffPoint {
    double level = 0;
    double today = 0;          // as the scenario grid's "Nu"
    double atFirstExpiry = 0;  // see Payoff::firstExpiry
};

// A level at which the result is nil, or a stretch of levels over which it is nil throughout
// (from below to): positions that together neither gain nor lose there.
struct BreakEven {
    double from = 0;
    double to = 0;
    bool isStretch() const { return to > from; }
};

struct PayoffExtreme {
    double level = 0;
    double value = 0;
};

struct Payoff {
    // The range of levels: kPayoffSpan below to kPayoffSpan above the last index quote.
    double low = 0;
    double high = 0;
    // The first expiry among the held positions that is still to come; invalid when none is.
    // At its moment the positions that expire then (and those expired before) count at their
    // intrinsic value, the later ones at their Black-Scholes value on that day.
    QDate firstExpiry;
    // Ascending levels: evenly spread over the range, with every level at which the curve at
    // the first expiry bends (the strikes of the positions that expire then) among them.
    std::vector<PayoffPoint> points;
    // Where the curve at the first expiry is nil, ascending. Where every position is at its
    // intrinsic value the curve is straight between strikes, and each level is solved exactly on
    // its piece; later positions bend it, and their levels are solved to within 1e-9 points.
    std::vector<BreakEven> breakEvens;
    PayoffExtreme worstToday, worstAtFirstExpiry;
};

inline constexpr double kPayoffSpan = 0.20;
inline constexpr int kPayoffSteps = 400;

// The payoff of the book's positions, every volatility shifted by shiftPoints volatility points
// (never below 0,1 %). Without positions, or with an index level of 0, no points and no levels.
Payoff PayoffOf(const ScenarioBook &book, double shiftPoints = 0, int steps = kPayoffSteps);
