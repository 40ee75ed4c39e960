#pragma once
// A benchmark's figure means little alone on a machine we do not know, so every figure is
// printed beside a yardstick measured in the same run (the same work done the plainest way), as
// a ratio; and every figure measured at 1x and 10x its input is printed with its growth.
//
// A benchmark program declares its pairs with PELGRANDIX_COMPARE (and PELGRANDIX_COMPARE_GROWTH)
// and uses the shared main in bench_main.cpp, which runs the benchmarks and prints the summary
// after them. With PELGRANDIX_BENCH_GOALS naming a file, each ratio is also appended to it as a
// line of tab-separated fields, for scripts/bench.sh to gather into one table of every program's
// figures: what is set against what, the ratio, its goal (0 for none), and "within", "OVER" or
// "-" where no goal is set.

#include <benchmark/benchmark.h>

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace bench {

// After the run, each result of the benchmark family `figure` is printed beside the result of
// `yardstick` with the same argument (or its only result, when the yardstick takes none), as a
// ratio of the real time and of every counter the two share. A goal above zero is the ratio the
// figure's time should stay within, and a counter goal the same for that counter (memory, say);
// the summary says whether it did.
bool compare(const char *figure, const char *yardstick, double goal = 0,
             const std::map<std::string, double> &counterGoals = {});
// After the run, the growth of `figure` from 1x to 10x its input is set against the growth of
// `yardstick` over the same inputs, as a ratio that the goal says it should stay within.
bool compareGrowth(const char *figure, const char *yardstick, double goal);

// Five rounds, of which the least disturbed one ("min") is reported: other work on the machine
// only ever adds to a time. For figure and yardstick alike.
void leastDisturbedOfFive(benchmark::internal::Benchmark *b);

// The console output as usual, and the results kept for the summary.
class FigureReporter : public benchmark::ConsoleReporter
{
public:
    FigureReporter();
    void ReportRuns(const std::vector<Run> &runs) override;
    void printSummary(std::ostream &out) const;
    // Appends every ratio with a yardstick, and its goal, to the file (see above). Returns false
    // when the file could not be written.
    bool appendGoals(const char *path) const;

    // A ratio of this run: a figure's time, counter (memory, say) or growth against its
    // yardstick's.
    struct Goal {
        enum Kind { Time, Counter, Growth } kind;
        std::string what;
        double figure, yardstick, ratio, goal;
    };
    std::vector<Goal> goals() const;

    struct Result {
        double seconds = 0;                     // real time per iteration
        std::map<std::string, double> counters;
    };
    // family -> argument text ("" for none) -> result
    std::map<std::string, std::map<std::string, Result>> results;
};

} // namespace bench

#define PELGRANDIX_COMPARE_JOIN2(a, b) a##b
#define PELGRANDIX_COMPARE_JOIN(a, b) PELGRANDIX_COMPARE_JOIN2(a, b)
// The counter goals, when given, follow the time goal: {{"counter", goal}, ...}.
#define PELGRANDIX_COMPARE(figure, yardstick, goal, ...)                                         \
    [[maybe_unused]] static const bool PELGRANDIX_COMPARE_JOIN(pelgrandixCompare, __COUNTER__) = \
        bench::compare(#figure, #yardstick, goal __VA_OPT__(, ) __VA_ARGS__)
#define PELGRANDIX_COMPARE_GROWTH(figure, yardstick, goal)                                       \
    [[maybe_unused]] static const bool PELGRANDIX_COMPARE_JOIN(pelgrandixCompare, __COUNTER__) = \
        bench::compareGrowth(#figure, #yardstick, goal)
