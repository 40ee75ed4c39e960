// Rewriting the last price and money difference of every position from the quote list, against
// one pass over the whole list (what one lookup of an unlisted series costs when it walks every
// line). Before measuring, each update is checked against the plain lookup, so the figure is
// only printed for an update that keeps the rule that the first line in sorted order wins.

#include <benchmark/benchmark.h>

#include <map>

#include "positions/position_line.h"
#include "market/option_pages.h"
#include "market/expiry_calendar.h"
#include "market/position_update.h"
#include "market/quote_lookup.h"
#include "support/figures.h"
#include "support/generated_market.h"
#include "support/month_names.h"
#include "support/text_routines.h"

namespace {

constexpr int kPositionsPerScale = 1000;
constexpr int kExpiriesPerScale = 4000 / bench::kStrikesPerExpiry; // 8,000 quote lines at 1x

struct Input {
    QuoteList quotes;
    QStringList positions;
};

const Input &inputAt(int scale)
{
    static std::map<int, Input> inputs;
    auto found = inputs.find(scale);
    if (found != inputs.end())
        return found->second;
    Input &in = inputs[scale];
    const bench::OptionPages pages = bench::generatedOptionPages(kExpiriesPerScale * scale);
    ParseCalls(pages.calls, in.quotes);
    ParsePuts(pages.puts, in.quotes);
    // Lines that also hold the key of a listed series; the one first in sorted order must win.
    const QStringList listed = in.quotes.lines();
    for (int i = 0; i < 20 * scale; ++i) {
        const QString &line = listed.at((qsizetype(i) * 397) % listed.size());
        in.quotes.add(line.left(line.lastIndexOf(QLatin1Char(';'))) + QStringLiteral("5; 99,99"));
    }
    in.positions = bench::positionsOnGeneratedSeries(kPositionsPerScale * scale, kExpiriesPerScale * scale);
    return in;
}

// Whether every position got the last price the plain lookup gives, which walks the list in
// order, and the positions on listed series (all but every tenth) found one.
bool sameAsPlainLookup(const Input &in, const QStringList &updated)
{
    qsizetype found = 0;
    for (qsizetype i = 0; i < in.positions.size(); ++i) {
        const QStringList fields = SplitPositionLine(in.positions.at(i));
        TDataRec rec;
        rec.CP = fields.at(field::Kind).at(0);
        const QDate expiry = SeriesExpiry(fields.at(field::Series), fields.at(field::Year).toInt(),
                                          MonthNumber(fields.at(field::Month)));
        rec.ExpDay = quint16(expiry.day());
        rec.ExpMonth = quint16(expiry.month());
        rec.ExpYear = quint16(expiry.year());
        rec.UitOefen = StrToReal(fields.at(field::Strike));
        GetKoers(rec, in.quotes);
        found += StrToReal(rec.Koers) != 0;
        if (SplitPositionLine(updated.at(i)).at(field::LastPrice) != RealToStr(StrToReal(rec.Koers), 5, 2))
            return false;
    }
    return found == in.positions.size() - in.positions.size() / 10;
}

void setCounts(benchmark::State &state, const Input &in)
{
    state.counters["positions"] = double(in.positions.size());
    state.counters["quotes"] = double(in.quotes.count());
}

void BM_UpdatePositions(benchmark::State &state)
{
    const Input &in = inputAt(int(state.range(0)));
    if (!sameAsPlainLookup(in, UpdatePositionLines(in.positions, TDataRec(), in.quotes))) {
        state.SkipWithError("the update disagrees with the plain lookup");
        return;
    }
    for (auto _ : state) {
        const QStringList updated = UpdatePositionLines(in.positions, TDataRec(), in.quotes);
        benchmark::DoNotOptimize(updated.constData());
    }
    setCounts(state, in);
}

void BM_OneQuoteListPass(benchmark::State &state)
{
    const Input &in = inputAt(int(state.range(0)));
    // A series that is not listed: the plain lookup reads every line.
    TDataRec rec;
    rec.CP = QLatin1Char('C');
    rec.ExpDay = 1;
    rec.ExpMonth = 1;
    rec.ExpYear = 1999;
    rec.UitOefen = 380;
    for (auto _ : state) {
        GetKoers(rec, in.quotes);
        benchmark::DoNotOptimize(rec.Koers.constData());
    }
    setCounts(state, in);
}

} // namespace

BENCHMARK(BM_UpdatePositions)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_OneQuoteListPass)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);

// Updating every position should cost no more than six passes over the quote list.
PELGRANDIX_COMPARE(BM_UpdatePositions, BM_OneQuoteListPass, 6);
