#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ and runs them. Every figure is printed
# beside its yardstick, measured in the same run, as a ratio; figures measured at 1x and 10x
# their input also show their growth. Arguments are passed to every benchmark program
# (for example --benchmark_filter=Load).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPELGRANDIX_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j"$(nproc)"
for program in build-bench/bin/*_bench; do
  echo
  echo "=== $(basename "$program")"
  "$program" --benchmark_counters_tabular=true "$@"
done
