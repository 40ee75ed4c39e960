// The program from its start to its first paint, and the memory it then holds, against a
// minimal Qt window program built beside it. Both run on Qt's offscreen platform with
// PELGRANDIX_EXIT_AFTER_FIRST_PAINT set, so each ends right after its window was drawn; the
// time is taken from the fork to the end of the process, the memory is its peak resident size.
// The program gets a fresh home folder with a positions file of the benchmark's size, and every
// site it could reach points at a closed local port.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "positions/positions_file.h"
#include "support/figures.h"
#include "support/sample_positions.h"

namespace {

std::string besideThisProgram(const char *name)
{
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

struct Start {
    bool ok = false;
    double seconds = 0;
    double maxResidentMiB = 0;
};

Start startOnce(const std::string &program, const std::vector<std::string> &environment)
{
    std::vector<char *> envp;
    for (const std::string &entry : environment)
        envp.push_back(const_cast<char *>(entry.c_str()));
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};

    const auto begin = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        ::alarm(60);  // a program that never ends is stopped rather than hanging the run
        ::execve(program.c_str(), argv, envp.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage {};
    ::wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();

    Start start;
    start.ok = child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    start.seconds = std::chrono::duration<double>(end - begin).count();
    start.maxResidentMiB = double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
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

void measureStarts(benchmark::State &state, const std::string &program, const std::vector<std::string> &environment)
{
    if (!startOnce(program, environment).ok) {  // also warms the file cache
        state.SkipWithError(("did not start and end by itself: " + program).c_str());
        return;
    }
    double residentMiB = 0;
    for (auto _ : state) {
        const Start start = startOnce(program, environment);
        if (!start.ok) {
            state.SkipWithError("a start failed");
            break;
        }
        state.SetIterationTime(start.seconds);
        residentMiB += start.maxResidentMiB;
    }
    state.counters["maxrss_MiB"] = benchmark::Counter(residentMiB, benchmark::Counter::kAvgIterations);
}

void BM_ProgramStart(benchmark::State &state)
{
    QTemporaryDir home;
    const QString dataDir = home.path() + QStringLiteral("/UserData/Pelgrandix/");
    QDir().mkpath(dataDir);
    if (state.range(0) > 0)
        positions_file::save(dataDir, bench::samplePositionLines(int(state.range(0))));
    measureStarts(state, besideThisProgram("pelgrandix"), environmentFor(home.path()));
}

void BM_MinimalWindowStart(benchmark::State &state)
{
    QTemporaryDir home;
    measureStarts(state, besideThisProgram("minimal_window"), environmentFor(home.path()));
}

} // namespace

// Rounds of ten starts each.
void startSettings(benchmark::internal::Benchmark *b)
{
    b->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond)->Apply(bench::leastDisturbedOfFive);
}

BENCHMARK(BM_MinimalWindowStart)->Apply(startSettings);
BENCHMARK(BM_ProgramStart)->Arg(0)->Arg(1000)->Arg(10000)->Apply(startSettings);

// The program does more than an empty window, but should not take more than twice its time
// or memory to show itself.
PELGRANDIX_COMPARE(BM_ProgramStart, BM_MinimalWindowStart, 2.0);
