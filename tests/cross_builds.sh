#!/usr/bin/env bash
# The game's rules and its generated files must not depend on how it was built: the pinned
# traces hold for the sanitizer build and for clang at -O0, and clang's assetgen writes the same
# bytes as the main build's. Run by test.sh after the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake -S . -B build-clang -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug -DTINSELRUN_WERROR=ON -DTINSELRUN_TESTS=OFF >/dev/null
cmake --build build-clang -j"$jobs" --target tinselrun-sim
for b in build build-asan build-clang; do
  [ -x "$b/tinselrun-sim" ] && tests/scripts/trace_pinned.sh "$b" .
done
differ=0
for f in build/img/*.dat build/snd/*.bom; do
  cmp -s "$f" "build-clang/${f#build/}" || { echo "clang's assetgen wrote another ${f#build/}"; differ=1; }
done
[ $differ -eq 0 ] && echo "clang's assetgen wrote the same 34 files"
exit $differ
