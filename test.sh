#!/usr/bin/env bash
# Builds Tinselrun with warnings as errors (installing what is missing) and runs every test:
# the suites and scripts (the page's in headless Chromium too), then the suites again and a
# soak under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzzer over a fixed walk of
# inputs (about a minute each).
# TINSELRUN_QUICK=1 runs only the first stage.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
tools/setup/deps.sh test

echo "== formatting"
tools/check-format.sh

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINSELRUN_WERROR=ON -DTINSELRUN_TESTS=ON >/dev/null
cmake --build build -j"$jobs"
echo "== the page (build-web/), for the browser tests"
./web.sh --build-only
(cd build && ctest --output-on-failure -j"$jobs" --timeout 900)

[ "${TINSELRUN_QUICK:-0}" = 1 ] && exit 0

echo "== sanitizers: the suites and a soak of ten minutes of game time; two hours without"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINSELRUN_WERROR=ON \
  -DTINSELRUN_SANITIZE=address,undefined >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/tests/fuzz/lsan.supp:print_suppressions=0
(cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 1800 -E '^(script|web)\.')
SOAK_MEMORY=0 tests/soak/soak.sh build-asan/tinselrun-sim 36000 1
tests/soak/soak.sh build/tinselrun-sim 432000 2

echo "== the same traces and files from every build and compiler"
tests/cross_builds.sh

echo "== fuzzers"
tests/fuzz/run.sh 240
