#!/usr/bin/env bash
# Installs the Debian packages that are missing: `deps.sh play` what building and playing the
# game needs, `deps.sh web` that and the page's toolchain, `deps.sh test` (the default) all of
# those and everything the tests and tools need.
set -euo pipefail

# Building the game, its generated assets and the runner, and playing it.
PLAY_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsndfile1-dev libx11-dev libstb-dev libvorbis-dev libogg-dev
  libdeflate-dev
)
# The page: Debian's emcc and its optimiser, and the acorn module its JavaScript tools load.
WEB_PACKAGES=(emscripten binaryen node-acorn)
# The test suites (SDL_image reads their pictures, apart from the game's own reader), the
# real-window and package tests, the sanitizer and clang builds, the fuzzers and the benchmarks.
TEST_PACKAGES=(
  libsdl2-image-dev libgtest-dev libbenchmark-dev nlohmann-json3-dev python3
  xvfb xdotool x11-utils x11-apps imagemagick sox desktop-file-utils
  clang clang-format libclang-rt-14-dev
  dpkg-dev lintian appstream
  chromium python3-websocket
)

case "${1:-test}" in
  play) wanted=("${PLAY_PACKAGES[@]}") ;;
  web) wanted=("${PLAY_PACKAGES[@]}" "${WEB_PACKAGES[@]}") ;;
  test) wanted=("${PLAY_PACKAGES[@]}" "${WEB_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *) echo "usage: $0 [play|web|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "tinselrun: missing packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
  exit 1
fi
echo "tinselrun: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
