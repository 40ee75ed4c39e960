#include <benchmark/benchmark.h>

#include <iostream>

#include "support/figures.h"

// The main of every benchmark program: the usual run, then each figure beside its yardstick.
int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    bench::FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary(std::cout);
    benchmark::Shutdown();
    return 0;
}
