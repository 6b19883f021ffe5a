#!/usr/bin/env bash
# Builds Tinselrun (installing what is missing) and starts it; its options pass on to the game
# (./play.sh --fullscreen, ./play.sh --help).
set -euo pipefail
cd "$(dirname "$0")"
tools/setup/deps.sh play
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINSELRUN_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target tinselrun
cd build
# malloc's large blocks (decoded pictures and sounds) on transparent huge pages: fewer page faults
# while loading, on machines where a fresh page is dear.
GLIBC_TUNABLES=${GLIBC_TUNABLES:-glibc.malloc.hugetlb=1} exec ./tinselrun "$@"
