#!/usr/bin/env bash
# Builds the benchmarks in Release into build-bench/ and runs them. Every figure is printed
# beside its yardstick, measured in the same run, as a ratio; figures measured at 1x and 10x
# their input also show their growth. Arguments are passed to every benchmark program
# (for example --benchmark_filter=Load).
#
# At the end one table holds every program's ratios with their goals, and the machine's load at
# the time; the script exits with 1 when a ratio is over its goal.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPELGRANDIX_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j"$(nproc)"

goals=$(mktemp)
trap 'rm -f "$goals"' EXIT
# Each program runs on one processor, the last this script may use: moved from one processor to
# another in the middle of a measurement, the same figure came out up to half again as large in
# one run as in the next on a 2-core machine. A program started by a benchmark stays there too.
pinned=()
if command -v taskset >/dev/null; then
  pinned=(taskset -c "$(sed -n 's/^Cpus_allowed_list:.*[^0-9]\([0-9][0-9]*\)$/\1/p' /proc/self/status)")
fi
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for program in build-bench/bin/*_bench; do
  echo
  echo "=== $(basename "$program")"
  PELGRANDIX_BENCH_GOALS="$goals" "${pinned[@]}" "$program" --benchmark_counters_tabular=true "$@"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo
echo "=== Summary: every figure against its yardstick, with its goal"
echo "    load average (1, 5, 15 minutes, $(nproc) cores): $load_before before, $load_after after"
{
  printf 'figure / yardstick\tfigure\tyardstick\tratio\tgoal\tverdict\n'
  cat "$goals"
} | column -t -s $'\t' | sed 's/^/    /'
if grep -q $'\tOVER$' "$goals"; then
  echo "    Over its goal: $(grep -c $'\tOVER$' "$goals") figure(s)"
  exit 1
fi
echo "    Every figure within its goal"
