#!/usr/bin/env bash
# Start-up: process start to the first drawn frame of the real game (tinselrun-measured, the
# game with its pace counted) in a window under Xvfb, all 34 asset files loaded. Prints each run (wall and processor milliseconds) and the medians.
# Usage: bench/startup.sh BUILD_DIR [RUNS]
set -u
build=${1:?usage: startup.sh BUILD_DIR [RUNS]}
runs=${2:-11}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
bench_start_xvfb
out=$(mktemp)
trap 'rm -f "$out" "$out.err"; stop_xvfb' EXIT
cd "$build"
walls=()
cpus=()
for i in $(seq "$runs"); do
  t0=$(date +%s.%N)
  SDL_AUDIODRIVER=dummy ./tinselrun-measured >"$out" 2>"$out.err" &
  game=$!
  # Escape only once the game has surely drawn: a key that comes while it still loads
  # would end it before its first frame.
  sleep 3
  press_escape || { echo "no window appeared" >&2; kill $game; exit 1; }
  wait $game
  line=$(grep '^tinselrun-stats' "$out")
  first=$(sed -n 's/.*first_frame_at=\([0-9.-]*\).*/\1/p' <<<"$line")
  cpu=$(sed -n 's/.*first_frame_cpu=\([0-9.-]*\).*/\1/p' <<<"$line")
  if [ -z "$first" ] || [ "${first#-}" != "$first" ]; then
    echo "run $i: no frame drawn before Escape, not counted ($line $(cat "$out.err"))"
    continue
  fi
  wall=$(awk -v a="$t0" -v b="$first" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
  cpums=$(awk -v c="$cpu" 'BEGIN { printf "%.0f", c * 1000 }')
  echo "run $i: $wall ms wall, $cpums ms processor"
  walls+=("$wall")
  cpus+=("$cpums")
done
echo "startup_wall_ms_median $(printf '%s\n' "${walls[@]}" | median)"
echo "startup_cpu_ms_median $(printf '%s\n' "${cpus[@]}" | median)"
