#!/usr/bin/env bash
# Builds the page into build-web/ (installing what is missing, as play.sh does) and serves that
# folder on http://127.0.0.1:8000. ./web.sh --build-only only builds.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup/deps.sh web
jobs=$(nproc)
# The pictures and sounds are drawn by the native build's generator. A build folder made by
# test.sh keeps its options; a new one is made without the test suites, as play.sh makes it.
native_options=()
[ -f build/CMakeCache.txt ] || native_options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINSELRUN_TESTS=OFF)
cmake -S . -B build "${native_options[@]}" >/dev/null
cmake --build build -j"$jobs" --target assets
# Emscripten's JavaScript tools need Debian's acorn, which another node on the PATH cannot see.
NODE_PATH=$(dirname "$(dpkg -L node-acorn | grep -m1 '/nodejs/acorn$')")
export NODE_PATH
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DTINSELRUN_WERROR=ON \
  -DTINSELRUN_ASSETS_DIR="$PWD/build" >/dev/null
cmake --build build-web -j"$jobs"
[ "${1:-}" = --build-only ] && exit 0
echo "tinselrun: the page is at http://127.0.0.1:8000/ (Ctrl+C stops the server)"
exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web
