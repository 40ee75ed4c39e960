#include "portfolio/roll_candidates.h"

#include <QSet>

#include <algorithm>
#include <cmath>

#include "market/expiry_calendar.h"
#include "market/quote_line.h"
#include "positions/position_view.h"
#include "support/month_names.h"
#include "support/text_routines.h"

namespace {

// A strike as a position line writes it: a whole number without decimals, as the add dialog
// writes one, another with its decimals, so that the quote lookup finds the same series.
QString strikeField(double strike)
{
    return strike == std::floor(strike) ? QString::number(qint64(strike)) : FixedText(strike, 2);
}

} // namespace

QString RollCandidate::title(const QString &kind) const
{
    return QStringLiteral("%1 %2 %3 %4 %5").arg(series, kind, month, QString::number(year), strikeField(strike));
}

std::vector<RollCandidate> RollCandidates(const PortfolioPosition &position, const QStringList &quoteLines,
                                          const risk::Market &market, const QDateTime &now, double buyBackPrice,
                                          int contracts)
{
    const std::optional<risk::Right> right = position.right();
    if (!right || !position.expiry.isValid() || !(market.index > 0))
        return {};
    const QChar kind = *right == risk::Right::Call ? QLatin1Char('C') : QLatin1Char('P');

    std::vector<QuoteLineFields> offered;
    QSet<qint64> laterExpiries;
    for (const QString &line : quoteLines) {
        std::optional<QuoteLineFields> quote = ReadQuoteLine(line);
        if (!quote || quote->kind != kind || quote->expiry <= position.expiry || !(quote->price > 0)
            || std::fabs(quote->strike - market.index) > kRollStrikeSpan * market.index)
            continue;
        laterExpiries.insert(quote->expiry.toJulianDay());
        offered.push_back(std::move(*quote));
    }
    std::vector<qint64> expiries(laterExpiries.begin(), laterExpiries.end());
    std::sort(expiries.begin(), expiries.end());
    if (expiries.size() > size_t(kRollExpiries))
        expiries.resize(size_t(kRollExpiries));

    std::vector<RollCandidate> candidates;
    for (const QuoteLineFields &quote : offered) {
        const std::optional<SeriesMonth> series = SeriesExpiringOn(quote.expiry);
        if (!series || std::find(expiries.begin(), expiries.end(), quote.expiry.toJulianDay()) == expiries.end())
            continue;
        RollCandidate candidate;
        candidate.series = series->series;
        candidate.month = PositionMonthName(series->month);
        candidate.year = series->year;
        candidate.expiry = quote.expiry;
        candidate.strike = quote.strike;
        candidate.priceText = quote.priceText;
        candidate.price = quote.price;
        candidate.netCredit = (quote.price - buyBackPrice) * 100.0 * contracts;
        const risk::Option option{*right, quote.strike, risk::YearsToExpiry(now, quote.expiry)};
        if (const std::optional<double> volatility = risk::ImpliedVolatility(option, market, quote.price))
            candidate.delta = risk::Delta(option, market, *volatility);
        const qint64 extraDays = position.expiry.daysTo(quote.expiry);
        candidate.creditPerExtraDay = candidate.netCredit / double(extraDays);
        candidates.push_back(std::move(candidate));
    }
    std::sort(candidates.begin(), candidates.end(), [](const RollCandidate &a, const RollCandidate &b) {
        return a.expiry != b.expiry ? a.expiry < b.expiry : a.strike < b.strike;
    });
    return candidates;
}

QString RollLine(const PortfolioPosition &position, const RollCandidate &candidate, int contracts)
{
    return WrittenPositionLine(candidate.series, position.kind, candidate.month, candidate.year,
                               strikeField(candidate.strike), candidate.priceText, contracts);
}
