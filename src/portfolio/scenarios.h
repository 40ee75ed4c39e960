#pragma once
// What the held positions would show if the AEX moved: "Verschil posities", the sum of
// amount x 100 x (transaction price - value) over the held positions, worked out again at
// another index level, at a later moment and with other volatilities. Before its expiry a
// position is valued with Black-Scholes at its implied volatility, after it at its intrinsic
// value. No window: the figures are for a window to show and for the report.

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

#include "portfolio/portfolio_model.h"

// A held position as the scenarios value it.
struct ScenarioPosition {
    PortfolioPosition position;
    risk::Right right = risk::Right::Call;
    // The volatility it is valued at before its expiry: its own implied volatility, or when the
    // price tells none, that of the nearest strike of the same kind and expiry. None for a
    // position that has expired already, which is worth its intrinsic value at any volatility.
    std::optional<double> volatility;
    // The strike whose volatility it borrowed; none when it has its own.
    std::optional<double> borrowedFrom;
};

// The held positions and the market that the scenarios start from.
struct ScenarioBook {
    risk::Market market;  // at the last index quote
    QDateTime now;
    std::vector<ScenarioPosition> positions;
    // Held positions that cannot be valued: without a volatility of their own or of a
    // neighbour, without an expiry in their month, or of no known kind.
    std::vector<PortfolioPosition> leftOut;
};

// The book of the inputs, whose rows PortfolioRows gave; none before the first index quote.
// A neighbour's volatility comes from the rows and from inputs.quoteLines, whichever strike is
// nearest (the lower of two as near).
std::optional<ScenarioBook> MakeScenarioBook(const PortfolioInputs &inputs, const std::vector<PortfolioRow> &rows);

// The rows of the grid: moves of the index from the last quote, as fractions.
inline constexpr std::array<double, 9> kIndexMoves = {-0.10, -0.075, -0.05, -0.025, 0.0,
                                                      0.025, 0.05, 0.075, 0.10};
// The shifts of every volatility that the grid offers, in volatility points.
inline constexpr std::array<double, 4> kVolatilityShifts = {-5, 0, 5, 10};
// However far a shift goes down, no volatility goes below 0,1 %.
inline constexpr double kLowestScenarioVolatility = 0.001;

// Each position's time left to its expiry at a moment, in years (0 or less once it has
// expired): worked out once for the many levels of a grid or a chart.
std::vector<double> YearsLeftAt(const ScenarioBook &book, const QDateTime &moment);
// The same for the moment each position expires itself: it then counts at its intrinsic value.
std::vector<double> YearsLeftAtOwnExpiry(const ScenarioBook &book);

// "Verschil posities" at an index level with the positions' times left, every volatility
// shifted by shiftPoints volatility points. A level of 0 (a fall of 100 %) is allowed.
double ScenarioDifference(const ScenarioBook &book, const std::vector<double> &yearsLeft, double level,
                          double shiftPoints = 0);

// One row of the grid: the move, the level it gives, and "Verschil posities" there now, in a
// week's time (with the volatility shift) and at every position's own expiry.
struct ScenarioRow {
    double move = 0;
    double level = 0;
    double now = 0;
    double inOneWeek = 0;
    double atExpiry = 0;
};
std::vector<ScenarioRow> ScenarioGrid(const ScenarioBook &book, double shiftPoints = 0);

// The line under the grid: which held positions are left out, "" when none is.
QString ScenarioLeftOutText(const ScenarioBook &book);
// "AEX Put mrt 2025 800,00": a position as the lines that list positions name it.
QString PositionTitleText(const PortfolioPosition &position);
