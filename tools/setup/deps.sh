#!/usr/bin/env bash
# Installs the Debian packages that are missing: `deps.sh play` what building and playing the
# game needs, `deps.sh test` (the default) that and everything the tests and tools need.
set -euo pipefail

# Building the game, its generated assets and the runner, and playing it.
PLAY_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsndfile1-dev libx11-dev libstb-dev libvorbis-dev libogg-dev
  libdeflate-dev
)
# The test suites, the real-window and package tests, the sanitizer and clang builds, the
# fuzzers and the benchmarks.
TEST_PACKAGES=(
  libgtest-dev libbenchmark-dev nlohmann-json3-dev python3
  xvfb xdotool x11-utils x11-apps imagemagick sox desktop-file-utils
  clang clang-format libclang-rt-14-dev
  dpkg-dev lintian appstream
)

case "${1:-test}" in
  play) wanted=("${PLAY_PACKAGES[@]}") ;;
  test) wanted=("${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}") ;;
  *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
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
