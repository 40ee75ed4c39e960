#pragma once
// The series a written option can be rolled into: the same kind, one of the next three expiries
// after its own, with a strike within 5 % of the index, as the last download offers them. For
// each, what rolling into it brings in (its price less the buy-back price, for the contracts
// rolled), its delta, and that credit spread over the days the roll adds.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "portfolio/portfolio_position.h"
#include "portfolio/risk.h"

struct RollCandidate {
    // The series as a position line names it.
    QString series, month;
    int year = 0;
    QDate expiry;
    double strike = 0;
    QString priceText;  // as the quote list gives it
    double price = 0;
    double netCredit = 0;  // (price - buy-back price) x 100 x contracts
    std::optional<double> delta;
    std::optional<double> creditPerExtraDay;  // the net credit over the days added to the position

    // "AEX Put jun 2027 840".
    QString title(const QString &kind) const;
};

inline constexpr int kRollExpiries = 3;
inline constexpr double kRollStrikeSpan = 0.05;

// The candidates for rolling the position (a call or a put with an expiry), ordered by expiry and
// strike; none without an index level.
std::vector<RollCandidate> RollCandidates(const PortfolioPosition &position, const QStringList &quoteLines,
                                          const risk::Market &market, const QDateTime &now, double buyBackPrice,
                                          int contracts);

// The new written position line that rolling into the candidate makes.
QString RollLine(const PortfolioPosition &position, const RollCandidate &candidate, int contracts);
