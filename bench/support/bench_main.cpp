#include <benchmark/benchmark.h>

#include <QLocale>

#include <cstdlib>
#include <iostream>

#include "support/figures.h"

// The main of every benchmark program: the usual run, then each figure beside its yardstick,
// also written to the file that PELGRANDIX_BENCH_GOALS names, when it names one.
int main(int argc, char **argv)
{
    // Numbers in the pages, the quote keys and the positions read the way the program's users
    // write them, whatever the locale of the machine that runs the benchmarks.
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    bench::FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary(std::cout);
    benchmark::Shutdown();
    if (const char *goals = std::getenv("PELGRANDIX_BENCH_GOALS"); goals && !reporter.appendGoals(goals)) {
        std::cerr << "cannot write the figures to " << goals << "\n";
        return 1;
    }
    return 0;
}
