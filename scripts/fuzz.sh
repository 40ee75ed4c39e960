#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs them.
#
#   scripts/fuzz.sh smoke [target...]   a fixed number of inputs per target (FUZZ_RUNS, default
#                                       20000), starting from the checked-in corpus; fails on
#                                       the first crash, hang or sanitizer report
#   scripts/fuzz.sh long [target...]    FUZZ_SECONDS per target (default 600); inputs that reach
#                                       new code are kept in a temporary folder, printed at the end
#
# Targets are named after fuzz/<target>_fuzz.cpp (option_pages, index_page, ...); all by default.
# An input that breaks a target is written to build-fuzz/artifacts/; replay it with
# build-fuzz/bin/<target>_fuzz <file>.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-smoke}
shift || true
case "$mode" in
  smoke|long) ;;
  *) echo "usage: $0 smoke|long [target...]" >&2; exit 2 ;;
esac

dir=build-fuzz
if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DPELGRANDIX_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build "$dir" --target fuzz_targets -j"$(nproc)" >/dev/null

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for source in fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name%_fuzz}")
  done
fi

# Sanitizer reports end the run with an error; leaks are looked for after every input.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# The hand-written sample pages the tests read seed the targets for those pages too; they stay in
# tests/fixtures/ only, and are gathered into a folder here because libFuzzer reads folders.
declare -A samples=([option_pages]="calls_sample.html puts_sample.html" [index_page]="index_sample.html")

mkdir -p "$dir/artifacts"
found=$(mktemp -d "${TMPDIR:-/tmp}/pelgrandix-fuzz.XXXXXX")
seeds=$(mktemp -d "${TMPDIR:-/tmp}/pelgrandix-seeds.XXXXXX")
if [ "$mode" = smoke ]; then
  trap 'rm -rf "$found" "$seeds"' EXIT
else
  trap 'rm -rf "$seeds"' EXIT
fi

failed=()
start=$SECONDS
for target in "${targets[@]}"; do
  program="$dir/bin/${target}_fuzz"
  corpus="fuzz/corpus/$target"
  [ -x "$program" ] || { echo "no fuzz target $program" >&2; exit 2; }
  mkdir -p "$found/$target" "$seeds/$target"
  for sample in ${samples[$target]:-}; do
    cp "tests/fixtures/$sample" "$seeds/$target/"
  done
  if [ "$mode" = smoke ]; then
    limit=(-runs="${FUZZ_RUNS:-20000}")
  else
    limit=(-max_total_time="${FUZZ_SECONDS:-600}" -print_final_stats=1)
  fi
  t0=$SECONDS
  # New inputs go into the first folder, so the checked-in corpus is only read.
  if "$program" "${limit[@]}" -timeout=10 -artifact_prefix="$dir/artifacts/$target-" \
       "$found/$target" "$corpus" "$seeds/$target" >"$dir/artifacts/$target.log" 2>&1; then
    echo "fuzz $target: ok ($((SECONDS - t0)) s)"
  else
    echo "fuzz $target: FAILED, see $dir/artifacts/$target.log" >&2
    grep -E "^(==[0-9]+==ERROR|SUMMARY|.*property broken|.*runtime error)" "$dir/artifacts/$target.log" | head -5 >&2 || true
    failed+=("$target")
  fi
done
echo "fuzz $mode: ${#targets[@]} targets in $((SECONDS - start)) s"
[ "$mode" = long ] && echo "new corpus entries in $found"
[ ${#failed[@]} -eq 0 ]
