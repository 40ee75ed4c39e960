// The program from its start to its first paint, and the memory it then holds, against a
// minimal Qt window program built beside it. Both run on Qt's offscreen platform with
// PELGRANDIX_EXIT_AFTER_FIRST_PAINT set, so each ends right after its window was drawn; the
// time is taken from the fork to the end of the process, the memory is its peak resident size.
// Each measured start is the quickest of three in a row, and the rounds of all the starts are
// taken in a shuffled order, so that other work on a shared machine, for a moment or for a
// while, does not count against one program more than the other.
// The program gets a fresh home folder with a positions file of the benchmark's size, and every
// site it could reach points at a closed local port; the window's lock it leaves is removed after
// each start, as its close would have.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "positions/positions_file.h"
#include "positions/window_lock.h"
#include "support/figures.h"
#include "support/sample_positions.h"

namespace benchmark {
// The library's --benchmark_enable_random_interleaving, which this program turns on (below).
extern bool FLAGS_benchmark_enable_random_interleaving;
} // namespace benchmark

namespace {

[[maybe_unused]] const bool roundsShuffled = (benchmark::FLAGS_benchmark_enable_random_interleaving = true);

std::string besideThisProgram(const char *name)
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

struct Start {
    bool ok = false;
    double seconds = 0;
    double maxResidentMiB = 0;
    // The processor time the process used: apart from cache effects, this does not grow with
    // other work on the machine as the time from start to end does.
    double cpuSeconds = 0;
};

// The program and its arguments.
using Command = std::vector<std::string>;

std::vector<char *> nullTerminated(const std::vector<std::string> &texts)
{
    std::vector<char *> pointers;
    for (const std::string &text : texts)
        pointers.push_back(const_cast<char *>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Called after each start, outside the time measured.
using TidyUp = std::function<void()>;

Start startOnce(const Command &command, const std::vector<std::string> &environment, const TidyUp &tidyUp)
{
    const std::vector<char *> envp = nullTerminated(environment);
    const std::vector<char *> argv = nullTerminated(command);

    const auto begin = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        ::alarm(60);  // a program that never ends is stopped rather than hanging the run
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (tidyUp)
        tidyUp();

    Start start;
    start.ok = child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    start.seconds = std::chrono::duration<double>(end - begin).count();
    start.maxResidentMiB = double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    start.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return start;
}

std::vector<std::string> environmentFor(const QString &home)
{
    return {
        "HOME=" + home.toStdString(),
        "XDG_RUNTIME_DIR=" + home.toStdString(),
        "PATH=/usr/bin:/bin",
        "LANG=nl_NL.UTF-8",
        "QT_QPA_PLATFORM=offscreen",
        "PELGRANDIX_EXIT_AFTER_FIRST_PAINT=1",
        "PELGRANDIX_PING=/bin/false",
        "PELGRANDIX_QUOTE_HOST=127.0.0.1:9",
        "PELGRANDIX_INDEX_HOST=127.0.0.1:9",
        "PELGRANDIX_MAKER_HOST=127.0.0.1:9",
    };
}

Start quickestOfThree(const Command &command, const std::vector<std::string> &environment, const TidyUp &tidyUp)
{
    Start quickest;
    for (int i = 0; i < 3; ++i) {
        const Start start = startOnce(command, environment, tidyUp);
        if (!start.ok)
            return start;
        if (i == 0 || start.seconds < quickest.seconds)
            quickest = start;
    }
    return quickest;
}

void measureStarts(benchmark::State &state, const Command &command, const std::vector<std::string> &environment,
                   const TidyUp &tidyUp = {})
{
    if (!startOnce(command, environment, tidyUp).ok) {  // also warms the file cache
        state.SkipWithError(("did not start and end by itself: " + command.front()).c_str());
        return;
    }
    double residentMiB = 0;
    double cpuMs = 0;
    for (auto _ : state) {
        const Start start = quickestOfThree(command, environment, tidyUp);
        if (!start.ok) {
            state.SkipWithError("a start failed");
            break;
        }
        state.SetIterationTime(start.seconds);
        residentMiB += start.maxResidentMiB;
        cpuMs += start.cpuSeconds * 1000;
    }
    state.counters["maxrss_MiB"] = benchmark::Counter(residentMiB, benchmark::Counter::kAvgIterations);
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}

// The program's data folder in the home folder, with a positions file of `count` sample lines
// (none for 0).
QString dataDirWithPositions(const QTemporaryDir &home, int count)
{
    const QString dataDir = home.path() + QStringLiteral("/UserData/Pelgrandix/");
    QDir().mkpath(dataDir);
    if (count > 0)
        positions_file::save(dataDir, bench::samplePositionLines(count));
    return dataDir;
}

void BM_ProgramStart(benchmark::State &state)
{
    QTemporaryDir home;
    const QString dataDir = dataDirWithPositions(home, int(state.range(0)));
    // Ended right after its paint, the program leaves the window's lock behind, which its close
    // would have removed: each start is an ordinary one, not one after a crash.
    const std::string lock = WindowLockPath(dataDir).toStdString();
    measureStarts(state, {besideThisProgram("pelgrandix")}, environmentFor(home.path()),
                  [lock] { std::filesystem::remove(lock); });
}

void BM_MinimalWindowStart(benchmark::State &state)
{
    QTemporaryDir home;
    measureStarts(state, {besideThisProgram("minimal_window")}, environmentFor(home.path()));
}

void BM_MinimalTextWindowStart(benchmark::State &state)
{
    QTemporaryDir home;
    measureStarts(state, {besideThisProgram("minimal_window"), "--text"}, environmentFor(home.path()));
}

void BM_MinimalListWindowStart(benchmark::State &state)
{
    QTemporaryDir home;
    const QString dataDir = dataDirWithPositions(home, int(state.range(0)));
    measureStarts(state, {besideThisProgram("minimal_window"), "--list", positions_file::fileName(dataDir).toStdString()},
                  environmentFor(home.path()));
}

} // namespace

// Rounds of ten starts each.
void startSettings(benchmark::internal::Benchmark *b)
{
    b->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Apply(bench::leastDisturbedOfFive);
}

BENCHMARK(BM_MinimalWindowStart)->Apply(startSettings);
BENCHMARK(BM_MinimalTextWindowStart)->Apply(startSettings);
BENCHMARK(BM_MinimalListWindowStart)->Arg(1000)->Arg(10000)->Apply(startSettings);
BENCHMARK(BM_ProgramStart)->Arg(0)->Arg(1000)->Arg(10000)->Apply(startSettings);

// The program does more than a window with one line of text, which sets up the fonts as every
// window with words must, but should take at most 1.2 times its time to show itself, with a
// thousand positions or ten thousand as with none.
PELGRANDIX_COMPARE(BM_ProgramStart, BM_MinimalTextWindowStart, 1.2);
// Shown beside an empty window too, which never sets up its fonts, so that their share stays in
// sight; and the memory, which should stay within 1.5 times the empty window's.
PELGRANDIX_COMPARE(BM_ProgramStart, BM_MinimalWindowStart, 0, {{"maxrss_MiB", 1.5}});
// And, without a goal, beside a window that shows the same positions file's lines in Qt's own
// list view: what the program adds to showing its positions.
PELGRANDIX_COMPARE(BM_ProgramStart, BM_MinimalListWindowStart, 0);
// What Qt's own list view of the positions takes beside the window with one line of text.
PELGRANDIX_COMPARE(BM_MinimalListWindowStart, BM_MinimalTextWindowStart, 0);
