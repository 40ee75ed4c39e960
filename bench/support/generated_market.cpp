#include "support/generated_market.h"

#include "market_model.h"
#include "market_pages.h"
#include "support/month_names.h"

namespace bench {

namespace {

QDate expiryAt(int index)
{
    const QDate month = QDate(2013, 1, 1).addMonths(index);
    return monthlyExpiry(month.year(), month.month());
}

int strikeAt(int index)
{
    return 300 + 5 * index;
}

QList<OptionQuote> chain(OptionKind kind, int expiries)
{
    QList<OptionQuote> quotes;
    quotes.reserve(expiries * kStrikesPerExpiry);
    for (int e = 0; e < expiries; ++e) {
        for (int s = 0; s < kStrikesPerExpiry; ++s) {
            OptionQuote q;
            q.expiry = expiryAt(e);
            q.series = QStringLiteral("AEX");
            q.strike = strikeAt(s);
            // Distinct prices, so that a wrong row would show in a check.
            q.value = (kind == OptionKind::Call ? 400.0 - s * 3.5 : 1.0 + s * 2.5) + e * 0.13;
            q.bid = q.value - 0.05;
            q.ask = q.value + 0.05;
            q.volume = 10 + s;
            quotes.append(q);
        }
    }
    return quotes;
}

} // namespace

OptionPages generatedOptionPages(int expiries)
{
    const QDateTime now(generatedToday(), QTime(12, 0));
    OptionPages pages;
    pages.calls = optionPage(OptionKind::Call, chain(OptionKind::Call, expiries), 500.0, now);
    pages.puts = optionPage(OptionKind::Put, chain(OptionKind::Put, expiries), 500.0, now);
    pages.rowsPerPage = expiries * kStrikesPerExpiry;
    return pages;
}

QStringList positionsOnGeneratedSeries(int count, int expiries)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        // Spread over the whole list rather than clustered at its start.
        const int series = int((qint64(i) * 7919) % (expiries * kStrikesPerExpiry));
        const QDate expiry = expiryAt(series / kStrikesPerExpiry);
        const int strike = strikeAt(series % kStrikesPerExpiry) + (i % 10 == 9 ? 1 : 0);
        lines << QStringLiteral("AEX; %1; %2; %3; %4; 10,00; 0,00; %5; 0,00; 0")
                     .arg(i % 2 ? QStringLiteral("Put") : QStringLiteral("Call"))
                     .arg(ShortMonthName(expiry.month()))
                     .arg(expiry.year())
                     .arg(strike)
                     .arg(1 + i % 5);
    }
    return lines;
}

} // namespace bench
