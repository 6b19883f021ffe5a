#!/usr/bin/env bash
# Headless throughput: the scripted stage (8000 ticks) through tinselrun-sim without drawing,
# with the trace written, and with a PNG snapshot every tick over 600 ticks of the stage
# (ticks 4401 to 5000, the busiest stretch and the boss's arrival). Start-up is measured
# alone (--ticks 0) and taken off. Medians of RUNS runs, wall and processor time.
# Needs perf (processor time of each run).
# Usage: bench/throughput.sh BUILD_DIR [RUNS]
set -u
build=$(cd "${1:?usage: throughput.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
sim=$build/tinselrun-sim
stage=$here/scripts/stage.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# timed LABEL ARGS...: runs the runner RUNS times; sets WALL and CPU to the medians (seconds).
timed() {
  local label=$1
  shift
  : >"$work/wall"
  : >"$work/cpu"
  for _ in $(seq "$runs"); do
    local start=$EPOCHREALTIME
    perf stat -x, -e task-clock -o "$work/perf" "$sim" --assets "$build" "$@" >/dev/null 2>"$work/err" \
      || { echo "$label: runner failed: $(cat "$work/err")"; exit 1; }
    local end=$EPOCHREALTIME
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f\n", b - a }' >>"$work/wall"
    # task-clock is in milliseconds of processor time, all threads
    awk -F, '/task-clock/ { printf "%.6f\n", $1 / 1000 }' "$work/perf" >>"$work/cpu"
  done
  WALL=$(median <"$work/wall")
  CPU=$(median <"$work/cpu")
  printf '%-34s wall %8.4f s  cpu %8.4f s\n' "$label" "$WALL" "$CPU"
}

rate() { awk -v n="$1" -v a="$2" -v b="$3" 'BEGIN { d = a - b; if (d <= 0) print "inf"; else printf "%.0f", n / d }'; }

timed "start-up and shut-down (0 ticks)" --ticks 0
w0=$WALL c0=$CPU
timed "stage, 8000 ticks, no trace" --ticks 8000 --input "$stage"
echo "  => $(rate 8000 "$WALL" "$w0") ticks/s wall, $(rate 8000 "$CPU" "$c0") ticks/s cpu (start-up taken off);" \
  "whole process $(rate 8000 "$WALL" 0) ticks/s wall"
timed "stage, 8000 ticks, trace to a file" --ticks 8000 --input "$stage" --trace "$work/trace.jsonl"
echo "  => $(rate 8000 "$WALL" "$w0") ticks/s wall, $(rate 8000 "$CPU" "$c0") ticks/s cpu (start-up taken off)"

timed "stage to tick 5000, no snapshot" --ticks 5000 --input "$stage"
w1=$WALL c1=$CPU
shots=()
for t in $(seq 4401 5000); do shots+=(--snapshot "$t:$work/shot$t.png"); done
timed "stage to tick 5000, 600 snapshots" --ticks 5000 --input "$stage" "${shots[@]}"
echo "  => with a snapshot every tick: $(rate 600 "$WALL" "$w1") ticks/s wall, $(rate 600 "$CPU" "$c1") ticks/s cpu"
