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

std::vector<Pair> &growthPairs()
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

std::string formatFactor(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "x%.3g", value);
    return text;
}

const char *verdict(double ratio, double goal)
{
    return goal <= 0 ? "-" : ratio <= goal ? "within" : "OVER";
}

std::string ratioLine(const std::string &what, const std::string &figure, const std::string &yardstick,
                      double ratio, double goal)
{
    char text[256];
    std::snprintf(text, sizeof text, "  %-34s %12s %12s   x%-7.3g", what.c_str(), figure.c_str(),
                  yardstick.c_str(), ratio);
    std::string line = text;
    if (goal > 0)
        line += std::string("  ") + verdict(ratio, goal) + " " + formatNumber(goal);
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

using Results = std::map<std::string, FigureReporter::Result>;

// Calls each(args, figure, yardstickArgs, yardstick) for every result of the figure family with
// the yardstick's result of the same argument, or its only one when it takes none.
template<typename Each>
void forEachMatch(const Results &figures, const Results &yardsticks, Each each)
{
    for (const auto &[args, figure] : figures) {
        auto yardstick = yardsticks.find(args);
        if (yardstick == yardsticks.end())
            yardstick = yardsticks.find(std::string());
        if (yardstick != yardsticks.end())
            each(args, figure, yardstick->first, yardstick->second);
    }
}

// Calls each(n, small, large) for every argument n of the family that was also measured at 10n.
template<typename Each>
void forEachGrowth(const Results &byArgs, Each each)
{
    for (const auto &[args, small] : byArgs) {
        const long long n = argumentValue(args);
        if (n <= 0)
            continue;
        const auto large = byArgs.find(std::to_string(n * 10));
        if (large != byArgs.end())
            each(n, small, large->second);
    }
}

std::string withArgs(const std::string &name, const std::string &args)
{
    return args.empty() ? name : name + "/" + args;
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

bool compareGrowth(const char *figure, const char *yardstick, double goal)
{
    growthPairs().push_back({figure, yardstick, goal});
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
        forEachMatch(figures->second, yardsticks->second,
                     [&](const std::string &args, const Result &figure, const std::string &yardstickArgs,
                         const Result &yardstick) {
            out << "  " << withArgs(pair.figure, args) << " against " << withArgs(pair.yardstick, yardstickArgs)
                << "\n";
            out << ratioLine("real time", formatSeconds(figure.seconds), formatSeconds(yardstick.seconds),
                             figure.seconds / yardstick.seconds, pair.goal)
                << "\n";
            for (const auto &[name, value] : figure.counters) {
                const auto other = yardstick.counters.find(name);
                if (other == yardstick.counters.end() || other->second == 0)
                    continue;
                // Counters without a goal of their own are shown to prove like is set against like.
                const auto goal = pair.counterGoals.find(name);
                out << ratioLine(name, formatNumber(value), formatNumber(other->second),
                                 value / other->second, goal == pair.counterGoals.end() ? 0 : goal->second)
                    << "\n";
            }
        });
    }

    header = false;
    for (const auto &[family, byArgs] : results) {
        forEachGrowth(byArgs, [&](long long n, const Result &small, const Result &large) {
            if (!header) {
                out << "\nGrowth from 1x to 10x input (ratio = 10x / 1x; linear: 10, better than linear: less)\n";
                out << columns("1x", "10x");
                header = true;
            }
            out << "  " << family << " " << n << " -> " << n * 10 << "\n";
            out << ratioLine("real time", formatSeconds(small.seconds), formatSeconds(large.seconds),
                             large.seconds / small.seconds, 0)
                << "\n";
            for (const auto &[name, value] : small.counters) {
                const auto other = large.counters.find(name);
                if (other == large.counters.end() || value == 0)
                    continue;
                out << ratioLine(name, formatNumber(value), formatNumber(other->second),
                                 other->second / value, 0)
                    << "\n";
            }
        });
    }

    header = false;
    for (const Goal &goal : goals()) {
        if (goal.kind != Goal::Growth)
            continue;
        if (!header) {
            out << "\nGrowth beside the yardstick's growth (ratio = figure's growth / yardstick's growth)\n";
            out << columns("figure", "yardstick");
            header = true;
        }
        out << "  " << goal.what << "\n";
        out << ratioLine("growth 1x -> 10x", formatNumber(goal.figure), formatNumber(goal.yardstick),
                         goal.ratio, goal.goal)
            << "\n";
    }
}

std::vector<FigureReporter::Goal> FigureReporter::goals() const
{
    std::vector<Goal> all;
    for (const Pair &pair : pairs()) {
        const auto figures = results.find(pair.figure);
        const auto yardsticks = results.find(pair.yardstick);
        if (figures == results.end() || yardsticks == results.end())
            continue;
        forEachMatch(figures->second, yardsticks->second,
                     [&](const std::string &args, const Result &figure, const std::string &yardstickArgs,
                         const Result &yardstick) {
            const std::string what = withArgs(pair.figure, args) + " / " + withArgs(pair.yardstick, yardstickArgs);
            all.push_back({Goal::Time, what, figure.seconds, yardstick.seconds, figure.seconds / yardstick.seconds,
                           pair.goal});
            for (const auto &[name, goal] : pair.counterGoals) {
                const auto mine = figure.counters.find(name);
                const auto theirs = yardstick.counters.find(name);
                if (mine == figure.counters.end() || theirs == yardstick.counters.end() || theirs->second == 0)
                    continue;
                all.push_back({Goal::Counter, what + ", " + name, mine->second, theirs->second,
                               mine->second / theirs->second, goal});
            }
        });
    }
    for (const Pair &pair : growthPairs()) {
        const auto figures = results.find(pair.figure);
        const auto yardsticks = results.find(pair.yardstick);
        if (figures == results.end() || yardsticks == results.end())
            continue;
        forEachGrowth(figures->second, [&](long long n, const Result &small, const Result &large) {
            const auto yardstickSmall = yardsticks->second.find(std::to_string(n));
            const auto yardstickLarge = yardsticks->second.find(std::to_string(n * 10));
            if (yardstickSmall == yardsticks->second.end() || yardstickLarge == yardsticks->second.end())
                return;
            const double figureGrowth = large.seconds / small.seconds;
            const double yardstickGrowth = yardstickLarge->second.seconds / yardstickSmall->second.seconds;
            all.push_back({Goal::Growth,
                           "growth of " + pair.figure + " / of " + pair.yardstick + ", " + std::to_string(n)
                               + " -> " + std::to_string(n * 10),
                           figureGrowth, yardstickGrowth, figureGrowth / yardstickGrowth, pair.goal});
        });
    }
    return all;
}

bool FigureReporter::appendGoals(const char *path) const
{
    std::FILE *file = std::fopen(path, "a");
    if (!file)
        return false;
    // Times for a time, plain numbers for a counter, factors for a growth.
    const auto value = [](const Goal &goal, double v) {
        switch (goal.kind) {
        case Goal::Time:
            return formatSeconds(v);
        case Goal::Counter:
            return formatNumber(v);
        case Goal::Growth:
            break;
        }
        return formatFactor(v);
    };
    for (const Goal &goal : goals()) {
        std::fprintf(file, "%s\t%s\t%s\t%s\t%s\t%s\n", goal.what.c_str(), value(goal, goal.figure).c_str(),
                     value(goal, goal.yardstick).c_str(), formatFactor(goal.ratio).c_str(),
                     goal.goal > 0 ? formatFactor(goal.goal).c_str() : "none", verdict(goal.ratio, goal.goal));
    }
    return std::fclose(file) == 0;
}

} // namespace bench
