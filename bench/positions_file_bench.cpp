// Loading and saving the positions file, against reading and writing the same bytes with a
// plain QFile. Both writes are flushed to the disk (fsync), so the ratio shows what the save
// adds: encoding, the temporary file, the backup rotation and the folder sync.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "positions/positions_file.h"
#include "platform/file_commit.h"
#include "support/figures.h"
#include "support/sample_positions.h"

namespace {

// A data folder holding a positions file of n lines.
struct DataFolder {
    explicit DataFolder(int n) : lines(bench::samplePositionLines(n)), bytes(positions_file::encode(lines))
    {
        positions_file::save(path(), lines);
    }
    QString path() const { return dir.path() + QStringLiteral("/"); }
    QTemporaryDir dir;
    QStringList lines;
    QByteArray bytes;
};

void setCounts(benchmark::State &state, qint64 bytes)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_PositionsLoad(benchmark::State &state)
{
    DataFolder folder(int(state.range(0)));
    for (auto _ : state) {
        const positions_file::LoadResult loaded = positions_file::load(folder.path());
        if (loaded.lines.size() != folder.lines.size())
            state.SkipWithError("not every line loaded");
        benchmark::DoNotOptimize(loaded);
    }
    setCounts(state, folder.bytes.size());
}

void BM_QFileRead(benchmark::State &state)
{
    DataFolder folder(int(state.range(0)));
    const QString name = positions_file::fileName(folder.path());
    for (auto _ : state) {
        QFile file(name);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        if (bytes.size() != folder.bytes.size())
            state.SkipWithError("not every byte read");
        benchmark::DoNotOptimize(bytes.constData());
    }
    setCounts(state, folder.bytes.size());
}

void BM_PositionsSave(benchmark::State &state)
{
    DataFolder folder(int(state.range(0)));
    for (auto _ : state) {
        if (!positions_file::save(folder.path(), folder.lines).saved)
            state.SkipWithError("save failed");
    }
    setCounts(state, folder.bytes.size());
}

void BM_QFileWriteSync(benchmark::State &state)
{
    DataFolder folder(int(state.range(0)));
    const QString name = folder.path() + QStringLiteral("plain.dat");
    for (auto _ : state) {
        QFile file(name);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        if (file.write(folder.bytes) != folder.bytes.size() || !file.flush() || !platform::syncToDisk(file))
            state.SkipWithError("write failed");
    }
    setCounts(state, folder.bytes.size());
}

} // namespace

BENCHMARK(BM_PositionsLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_QFileRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_PositionsSave)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);
BENCHMARK(BM_QFileWriteSync)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->UseRealTime()
    ->Apply(bench::leastDisturbedOfFive);

// Loading should cost no more than ten plain reads of the same bytes.
PELGRANDIX_COMPARE(BM_PositionsLoad, BM_QFileRead, 10);
PELGRANDIX_COMPARE(BM_PositionsSave, BM_QFileWriteSync, 0);
