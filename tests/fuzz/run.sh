#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each over its seeds.
#   tests/fuzz/run.sh [SECONDS_EACH]      (default 60)
# A run starts from a fixed seed and tries a fixed number of inputs (about a minute's worth on
# a quiet machine), so a run that passed here walks the same inputs in CI, however fast CI is:
# CI guards against regressions, the long runs look for new faults. SECONDS_EACH only caps a
# target on a slow machine (a shorter walk is the start of the same one). TINSELRUN_FUZZ_SEED
# picks another seed (0: a new random one each run, bounded by time alone).
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
seed=${TINSELRUN_FUZZ_SEED:-1}
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B $build -DTINSELRUN_FUZZ=ON -DTINSELRUN_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build $build -j"$(nproc)" --target fuzz_picture fuzz_sound fuzz_script
export LSAN_OPTIONS=suppressions=$PWD/tests/fuzz/lsan.supp:print_suppressions=0
status=0
for target in picture sound script; do
  case $target in
    picture) runs=25000 ;;
    sound) runs=20000 ;;
    script) runs=1500000 ;;
  esac
  [ "$seed" = 0 ] && runs=-1
  work=$build/fuzz-corpus/$target
  # With a fixed seed the inputs found by earlier runs would change the walk: start afresh.
  [ "$seed" != 0 ] && rm -rf "$work"
  mkdir -p "$work"
  if [ "$runs" = -1 ]; then echo "fuzz_$target: ${seconds}s"
  else echo "fuzz_$target: $runs inputs, at most ${seconds}s"; fi
  if ! (cd $build && ./tests/fuzz/fuzz_$target -runs="$runs" -max_total_time="$seconds" \
        -seed="$seed" -rss_limit_mb=4096 -timeout=20 -print_final_stats=1 \
        "fuzz-corpus/$target" "../tests/fuzz/corpus/$target" \
        2>"fuzz-$target.log" >/dev/null); then
    echo "fuzz_$target found a fault: see $build/fuzz-$target.log"
    grep -v '^tinselrun:' "$build/fuzz-$target.log" | tail -n 40
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$build/fuzz-$target.log" || true
  fi
done
exit $status
