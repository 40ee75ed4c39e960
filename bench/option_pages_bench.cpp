// Reading the call page and the put page into the quote list, against the least any reader of
// those pages must do: one pass over their bytes finding every price cell's marker.

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <utility>

#include "market/option_pages.h"
#include "support/figures.h"
#include "support/generated_market.h"

namespace {

constexpr int kExpiriesPerScale = 4000 / bench::kStrikesPerExpiry; // 4,000 rows a page at 1x

const bench::OptionPages &pagesAt(int scale)
{
    static std::map<int, bench::OptionPages> pages;
    auto found = pages.find(scale);
    if (found == pages.end())
        found = pages.emplace(scale, bench::generatedOptionPages(kExpiriesPerScale * scale)).first;
    return found->second;
}

size_t countMarkers(const QByteArray &page)
{
    static const char marker[] = "fBold price\">";
    size_t count = 0;
    const char *at = page.constData();
    const char *end = at + page.size();
    while (const void *hit = memmem(at, size_t(end - at), marker, sizeof marker - 1)) {
        ++count;
        at = static_cast<const char *>(hit) + sizeof marker - 1;
    }
    return count;
}

void setCounts(benchmark::State &state, const bench::OptionPages &pages)
{
    state.counters["rows"] = 2.0 * pages.rowsPerPage;
    state.SetBytesProcessed(state.iterations() * (pages.calls.size() + pages.puts.size()));
}

// As a download does it: the pages are read into the list kept for the next download, which
// then takes the place of the list shown, and the list it replaced is emptied for the next one.
void BM_ParseOptionPages(benchmark::State &state)
{
    const bench::OptionPages &pages = pagesAt(int(state.range(0)));
    QuoteList shown;
    QuoteList next;
    for (auto _ : state) {
        const int rows = ParseCalls(pages.calls, next) + ParsePuts(pages.puts, next);
        if (rows != 2 * pages.rowsPerPage || next.count() != rows) {
            state.SkipWithError("the pages did not give one quote line per row");
            break;
        }
        std::swap(shown, next);
        next.clear();
        benchmark::DoNotOptimize(shown);
    }
    setCounts(state, pages);
}

void BM_PriceMarkerScan(benchmark::State &state)
{
    const bench::OptionPages &pages = pagesAt(int(state.range(0)));
    for (auto _ : state) {
        const size_t markers = countMarkers(pages.calls) + countMarkers(pages.puts);
        // A strike cell and a last-price cell per row.
        if (markers != size_t(4 * pages.rowsPerPage)) {
            state.SkipWithError("unexpected number of price cells");
            break;
        }
        benchmark::DoNotOptimize(markers);
    }
    setCounts(state, pages);
}

} // namespace

BENCHMARK(BM_ParseOptionPages)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_PriceMarkerScan)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);

// Reading the pages should cost no more than four marker passes, and grow with the pages as
// the pass does.
PELGRANDIX_COMPARE(BM_ParseOptionPages, BM_PriceMarkerScan, 4);
PELGRANDIX_COMPARE_GROWTH(BM_ParseOptionPages, BM_PriceMarkerScan, 1.2);
