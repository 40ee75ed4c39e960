#include "support/figures.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <ostream>

namespace bench {

namespace {

struct Pair {
    std::string figure, yardstick;
    double goal;
    std::map<std::string, double> counterGoals;
};

std::vector<Pair> &pairs()
{
    static std::vector<Pair> all;
    return all;
}

std::string formatSeconds(double seconds)
{
    const char *unit = "s";
    double value = seconds;
    if (seconds < 1e-6) {
        value = seconds * 1e9;
        unit = "ns";
    } else if (seconds < 1e-3) {
        value = seconds * 1e6;
        unit = "us";
    } else if (seconds < 1) {
        value = seconds * 1e3;
        unit = "ms";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3g %s", value, unit);
    return text;
}

std::string formatNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

std::string ratioLine(const std::string &what, const std::string &figure, const std::string &yardstick,
                      double ratio, double goal)
{
    char text[256];
    std::snprintf(text, sizeof text, "  %-34s %12s %12s   x%-7.3g", what.c_str(), figure.c_str(),
                  yardstick.c_str(), ratio);
    std::string line = text;
    if (goal > 0)
        line += (ratio <= goal ? "  within " : "  OVER ") + formatNumber(goal);
    return line;
}

std::string columns(const char *left, const char *right)
{
    char text[128];
    std::snprintf(text, sizeof text, "  %-34s %12s %12s   %s\n", "", left, right, "ratio");
    return text;
}

// The argument text as a number, for finding 1x and 10x; -1 when it is none.
long long argumentValue(const std::string &args)
{
    if (args.empty() || args.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stoll(args);
}

} // namespace

FigureReporter::FigureReporter()
    : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular)
{
}

bool compare(const char *figure, const char *yardstick, double goal,
             const std::map<std::string, double> &counterGoals)
{
    pairs().push_back({figure, yardstick, goal, counterGoals});
    return true;
}

void leastDisturbedOfFive(benchmark::internal::Benchmark *b)
{
    b->Repetitions(5)->ReportAggregatesOnly(true);
    b->ComputeStatistics("min", [](const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); });
}

void FigureReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    // With repetitions a benchmark's "min" (where it asks for one: its least disturbed run on a
    // busy machine) or else its median stands for it; without, its one run does.
    bool hasMinimum = false;
    for (const Run &run : runs)
        hasMinimum |= run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
    const std::string wanted = hasMinimum ? "min" : "median";
    for (const Run &run : runs) {
        if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != wanted))
            continue;
        Result result;
        result.seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        // Rates only restate the time, so the summary leaves them out.
        for (const auto &[name, counter] : run.counters)
            if (!(counter.flags & benchmark::Counter::kIsRate))
                result.counters[name] = counter.value;
        results[run.run_name.function_name][run.run_name.args] = result;
    }
}

void FigureReporter::printSummary(std::ostream &out) const
{
    bool header = false;
    for (const Pair &pair : pairs()) {
        const auto figures = results.find(pair.figure);
        const auto yardsticks = results.find(pair.yardstick);
        if (figures == results.end() || yardsticks == results.end())
            continue;
        if (!header) {
            out << "\nFigures beside their yardsticks, measured in this run (ratio = figure / yardstick)\n";
            out << columns("figure", "yardstick");
            header = true;
        }
        for (const auto &[args, figure] : figures->second) {
            auto yardstick = yardsticks->second.find(args);
            if (yardstick == yardsticks->second.end())
                yardstick = yardsticks->second.find(std::string());
            if (yardstick == yardsticks->second.end())
                continue;
            const std::string yardstickName =
                pair.yardstick + (yardstick->first.empty() ? "" : "/" + yardstick->first);
            out << "  " << pair.figure << (args.empty() ? "" : "/" + args) << " against " << yardstickName
                << "\n";
            out << ratioLine("real time", formatSeconds(figure.seconds),
                             formatSeconds(yardstick->second.seconds),
                             figure.seconds / yardstick->second.seconds, pair.goal)
                << "\n";
            for (const auto &[name, value] : figure.counters) {
                const auto other = yardstick->second.counters.find(name);
                if (other == yardstick->second.counters.end() || other->second == 0)
                    continue;
                // Counters without a goal of their own are shown to prove like is set against like.
                const auto goal = pair.counterGoals.find(name);
                out << ratioLine(name, formatNumber(value), formatNumber(other->second),
                                 value / other->second, goal == pair.counterGoals.end() ? 0 : goal->second)
                    << "\n";
            }
        }
    }

    header = false;
    for (const auto &[family, byArgs] : results) {
        for (const auto &[args, small] : byArgs) {
            const long long n = argumentValue(args);
            if (n <= 0)
                continue;
            const auto large = byArgs.find(std::to_string(n * 10));
            if (large == byArgs.end())
                continue;
            if (!header) {
                out << "\nGrowth from 1x to 10x input (ratio = 10x / 1x; linear: 10, better than linear: less)\n";
                out << columns("1x", "10x");
                header = true;
            }
            out << "  " << family << " " << n << " -> " << n * 10 << "\n";
            out << ratioLine("real time", formatSeconds(small.seconds), formatSeconds(large->second.seconds),
                             large->second.seconds / small.seconds, 0)
                << "\n";
            for (const auto &[name, value] : small.counters) {
                const auto other = large->second.counters.find(name);
                if (other == large->second.counters.end() || value == 0)
                    continue;
                out << ratioLine(name, formatNumber(value), formatNumber(other->second),
                                 other->second / value, 0)
                    << "\n";
            }
        }
    }
}

} // namespace bench
