// The portfolio overview's table: filling it with the figures of every position (implied
// volatility and delta included) and sorting it, against one pass that only splits the same
// position lines into fields. And reading a long history file, for the chart of one position and
// whole, against reading its bytes and cutting them into lines.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <map>

#include "market/expiry_calendar.h"
#include "portfolio/history_file.h"
#include "portfolio/portfolio_model.h"
#include "positions/position_line.h"
#include "support/figures.h"
#include "support/month_names.h"

namespace {

constexpr int kPositionsPerScale = 1000;
constexpr int kHistoryRows = 100000;
constexpr double kIndex = 900;

const QDateTime &now()
{
    static const QDateTime moment(QDate(2026, 12, 8), QTime(10, 0), QTimeZone("Europe/Amsterdam"));
    return moment;
}

// Written calls and puts of the next twelve monthly series around the index, each priced at a
// volatility of its own, so that every implied volatility is worked out in full.
QStringList positionLines(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QDate month = now().date().addMonths(1 + i % 12);
        const bool call = i % 2;
        const double strike = 720 + 10 * (i % 37);
        const risk::Option option{call ? risk::Right::Call : risk::Right::Put, strike,
                                  risk::YearsToExpiry(now(), MonthlyExpiry(month.year(), month.month()))};
        const double price = risk::Price(option, {kIndex, 0.02, 0.03}, 0.12 + 0.01 * (i % 20));
        lines << QStringLiteral("AEX; %1; %2; %3; %4; 12,34; %5; %6; %7,00; %8")
                     .arg(call ? "Call" : "Put", ShortMonthName(month.month()))
                     .arg(month.year())
                     .arg(strike)
                     .arg(QLocale().toString(std::max(price, 0.01), 'f', 2))
                     .arg(1 + i % 9)
                     .arg(i % 1000 - 500)
                     .arg(i % 3 ? 1 : 0);
    }
    return lines;
}

const QStringList &linesAt(int scale)
{
    static std::map<int, QStringList> lines;
    auto found = lines.find(scale);
    return found != lines.end() ? found->second : lines[scale] = positionLines(kPositionsPerScale * scale);
}

void BM_PortfolioTable(benchmark::State &state)
{
    const PortfolioInputs inputs{linesAt(int(state.range(0))), kIndex, 2.0, 3.0, now()};
    PortfolioModel model;
    // Sorted as the window keeps it: each new fill is sorted again by the column chosen.
    model.sort(PortfolioModel::ImplicieteVolatiliteit);
    int known = 0;
    for (auto _ : state) {
        model.setInputs(inputs);
        known = 0;
        for (const PortfolioRow &row : model.rows())
            known += row.delta.has_value();
        benchmark::DoNotOptimize(model.rows().data());
    }
    if (known < inputs.positionLines.size() * 9 / 10)
        state.SkipWithError("most positions should have a delta");
    state.counters["positions"] = double(inputs.positionLines.size());
}

void BM_SplitPositionLines(benchmark::State &state)
{
    const QStringList &lines = linesAt(int(state.range(0)));
    for (auto _ : state) {
        for (const QString &line : lines)
            benchmark::DoNotOptimize(SplitPositionLine(line).constData());
    }
    state.counters["positions"] = double(lines.size());
}

// A data folder with a history of kHistoryRows rows: a hundred downloads of a thousand positions.
struct HistoryFolder {
    HistoryFolder()
    {
        QDir().mkpath(path());
        const QStringList lines = linesAt(1);
        for (int download = 0; download < kHistoryRows / kPositionsPerScale; ++download)
            history_file::append(path(), history_file::downloadRows(lines, kIndex, now().addSecs(900 * download)));
    }
    QString path() const { return dir.path() + QStringLiteral("/"); }
    QTemporaryDir dir;
};

const HistoryFolder &historyFolder()
{
    static const HistoryFolder folder;
    return folder;
}

void BM_ReadHistory(benchmark::State &state)
{
    const HistoryFolder &folder = historyFolder();
    for (auto _ : state) {
        const history_file::ReadResult read = history_file::read(folder.path());
        if (read.rows.size() != kHistoryRows)
            state.SkipWithError("not every row read");
        benchmark::DoNotOptimize(read.rows.constData());
    }
    state.counters["rows"] = kHistoryRows;
}

// What the overview's chart does for the position chosen: the file read, and that position's rows
// found in it.
void BM_ReadHistoryOfOnePosition(benchmark::State &state)
{
    const HistoryFolder &folder = historyFolder();
    const QStringList &lines = linesAt(1);
    const OptionKey option = ReadPortfolioPosition(lines.at(lines.size() / 2), 0)->key();
    for (auto _ : state) {
        const history_file::FileBytes file = history_file::readBytes(folder.path());
        const QList<history_file::Row> rows = history_file::rowsOf(file.bytes, option, 0);
        if (rows.size() != kHistoryRows / kPositionsPerScale)
            state.SkipWithError("not every row of the position found");
        benchmark::DoNotOptimize(rows.constData());
    }
    state.counters["rows"] = kHistoryRows;
}

void BM_ReadHistoryLines(benchmark::State &state)
{
    const HistoryFolder &folder = historyFolder();
    for (auto _ : state) {
        QFile file(history_file::fileName(folder.path()));
        file.open(QIODevice::ReadOnly);
        const QList<QByteArray> lines = file.readAll().split('\n');
        if (lines.size() != kHistoryRows + 2)
            state.SkipWithError("not every line read");
        benchmark::DoNotOptimize(lines.constData());
    }
    state.counters["rows"] = kHistoryRows;
}

} // namespace

BENCHMARK(BM_PortfolioTable)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_SplitPositionLines)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_ReadHistory)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_ReadHistoryOfOnePosition)->Unit(benchmark::kMillisecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_ReadHistoryLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Apply(bench::leastDisturbedOfFive);

// The table does much more with each line than splitting it, but should stay within three times that.
PELGRANDIX_COMPARE(BM_PortfolioTable, BM_SplitPositionLines, 3);
// The chart of a position waits for its rows, which should take at most three times the reading
// and splitting of the file's lines. Every row made, which the program no longer does, is shown
// beside it.
PELGRANDIX_COMPARE(BM_ReadHistoryOfOnePosition, BM_ReadHistoryLines, 3);
PELGRANDIX_COMPARE(BM_ReadHistory, BM_ReadHistoryLines, 0);
