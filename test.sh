#!/usr/bin/env bash
# Builds Tinselrun with warnings as errors (installing what is missing) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINSELRUN_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 900
