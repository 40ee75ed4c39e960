#pragma once
// Option pages and positions of a chosen size for benchmarks: `expiries` monthly expiries from
// January 2013 with 100 strikes each, every series with a price of its own, written by the demo
// quote site's own page builder, so the benchmarks read what the program meets.

#include <QByteArray>
#include <QDate>
#include <QStringList>

namespace bench {

constexpr int kStrikesPerExpiry = 100;

struct OptionPages {
    QByteArray calls, puts;
    int rowsPerPage = 0;
};

OptionPages generatedOptionPages(int expiries);

// Position lines on the series of those pages, calls and puts by turns; every tenth one is on a
// strike the pages do not list.
QStringList positionsOnGeneratedSeries(int count, int expiries);

// A day before the first expiry, so that every position is quoted under its monthly expiry.
inline QDate generatedToday() { return QDate(2012, 12, 3); }

} // namespace bench
