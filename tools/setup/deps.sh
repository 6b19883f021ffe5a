#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need, when any is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-image-dev libsndfile1-dev
  libgtest-dev libbenchmark-dev nlohmann-json3-dev
  xvfb xdotool x11-utils x11-apps imagemagick sox desktop-file-utils
  clang clang-format libclang-rt-14-dev
  dpkg-dev lintian appstream
  emscripten binaryen libstb-dev node-acorn chromium python3-websocket
)

missing=()
for p in "${PACKAGES[@]}"; do
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
