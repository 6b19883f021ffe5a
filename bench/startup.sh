#!/usr/bin/env bash
# Start-up: process start to the first drawn frame in a window under Xvfb, of the real game
# (tinselrun-measured, the game with its pace counted, all 34 asset files loaded) and of the bare
# SDL loop beside it (window, renderer, one 800 x 600 picture: the floor), run after run in turn.
# With a second build folder its game runs in turn too (before and after in the same run).
# Each run starts with the next of them in turn, a second after the last one ended.
# Prints each run (wall and processor milliseconds), the medians and the ratios to the floor.
# Usage: bench/startup.sh BUILD_DIR [RUNS] [OTHER_BUILD_DIR]
set -u
build=$(cd "${1:?usage: startup.sh BUILD_DIR [RUNS] [OTHER_BUILD_DIR]}" && pwd)
runs=${2:-11}
other=${3:+$(cd "$3" && pwd)}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
bench_start_xvfb
work=$(mktemp -d)
trap 'rm -rf "$work"; stop_xvfb' EXIT

# once NAME DIR COMMAND...: one start-up; appends its wall and processor ms to NAME's lists.
once() {
  local name=$1 dir=$2
  shift 2
  # A moment for the server to finish with the last program's window.
  sleep 1
  local t0
  t0=$(date +%s.%N)
  (cd "$dir" && SDL_AUDIODRIVER=dummy exec "$@" >"$work/out" 2>"$work/err") &
  local pid=$!
  # Escape only once the program has surely drawn: a key that comes while it still loads
  # would end it before its first frame.
  sleep 3
  local win
  win=$(window_of $pid)
  [ -n "$win" ] || { echo "$name: no window appeared" >&2; kill $pid; exit 1; }
  press_key "$win" Escape
  wait $pid
  local line first cpu
  line=$(grep '^tinselrun-stats' "$work/out")
  first=$(sed -n 's/.*first_frame_at=\([0-9.-]*\).*/\1/p' <<<"$line")
  cpu=$(sed -n 's/.*first_frame_cpu=\([0-9.-]*\).*/\1/p' <<<"$line")
  if [ -z "$first" ] || [ "${first#-}" != "$first" ]; then
    echo "$name: no frame drawn before Escape, not counted ($line $(cat "$work/err"))"
    return
  fi
  local wall cpums
  wall=$(awk -v a="$t0" -v b="$first" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
  cpums=$(awk -v c="$cpu" 'BEGIN { printf "%.0f", c * 1000 }')
  printf '  %-6s %8s ms wall %6s ms processor\n' "$name" "$wall" "$cpums"
  echo "$wall" >>"$work/$name.wall"
  echo "$cpums" >>"$work/$name.cpu"
}

names=(bare game)
[ -n "$other" ] && names+=(other)
for i in $(seq "$runs"); do
  echo "run $i"
  for k in $(seq 0 $((${#names[@]} - 1))); do
    case ${names[$(((i + k) % ${#names[@]}))]} in
      bare) once bare "$build" "$build/bench/bare_loop" img/7.dat ;;
      game) once game "$build" ./tinselrun-measured ;;
      other) once other "$other" ./tinselrun-measured ;;
    esac
  done
done
bare_wall=$(median <"$work/bare.wall")
bare_cpu=$(median <"$work/bare.cpu")
for name in "${names[@]}"; do
  wall=$(median <"$work/$name.wall")
  cpu=$(median <"$work/$name.cpu")
  awk -v n="$name" -v w="$wall" -v c="$cpu" -v bw="$bare_wall" -v bc="$bare_cpu" 'BEGIN {
    printf "%-6s median %7.1f ms wall (%.2fx the bare loop), %5.0f ms processor (%.2fx)\n",
      n, w, w / bw, c, c / bc }'
done
