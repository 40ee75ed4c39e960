#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test; builds the Debian package from that build
# and checks it; then builds the same tests with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs them again there.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build

# Every test program runs its tests in a shuffled order, so that a test that leans on what an
# earlier one left behind shows. The seed is printed; GTEST_RANDOM_SEED=<seed> ./test.sh runs the
# same order again.
export GTEST_SHUFFLE=1
export GTEST_RANDOM_SEED=${GTEST_RANDOM_SEED:-$((RANDOM % 99999 + 1))}
echo "Tests in shuffled order, seed $GTEST_RANDOM_SEED"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")

# The package reuses the release build above; scripts/check-package.sh says what it checks.
echo "Debian package in build-package/ and its checks"
scripts/package.sh
scripts/check-package.sh

# At -O1 (quicker to build than the full optimisation, still fast to run) and with assertions on,
# so that Qt's own index checks count too. Any memory fault, undefined behaviour or leak stops the
# program that meets it and fails its test; tests/lsan.supp lists the leaks that are not ours.
echo "Sanitizer build and tests in build-asan/"
scripts/build.sh build-asan -DPELGRANDIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
(cd build-asan && ctest --output-on-failure -j"$(nproc)")

# A short run of every fuzz target (a fixed number of inputs from the checked-in corpus) built
# with clang; any crash, hang or sanitizer report fails the run. `scripts/fuzz.sh long` runs longer.
echo "Fuzz smoke runs in build-fuzz/"
scripts/fuzz.sh smoke
