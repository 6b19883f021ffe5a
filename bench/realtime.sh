#!/usr/bin/env bash
# Real time: the real game (tinselrun-measured) in a window under Xvfb for SECONDS (default 60),
# side by side with the same game whose idle loop spins (--spin), the game slowed to 50 % by the
# game-speed assist (30 ticks a second due) and the bare SDL loop (the floor), one after the
# other in the same run. For each: update ticks per second,
# ticks lost, frames drawn, processor use over the measured window, peak resident memory.
# The games play: Enter through the opening and the title, then Space held with Santa
# weaving up and down.
# Usage: bench/realtime.sh BUILD_DIR [SECONDS]
set -u
build=$(cd "${1:?usage: realtime.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-60}
warmup=5
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
bench_start_xvfb
out=$(mktemp)
trap 'rm -f "$out"; stop_xvfb' EXIT

# run NAME DIR RATE COMMAND...: runs it, plays if it is the game, prints one line of figures;
# RATE is the ticks a second due.
run() {
  local name=$1 dir=$2 rate=$3
  shift 3
  (cd "$dir" && SDL_AUDIODRIVER=dummy exec "$@" >"$out" 2>/dev/null) &
  local pid=$!
  local win
  win=$(window_of $pid)
  [ -n "$win" ] || { echo "$name: no window"; kill $pid; return 1; }
  if [ "$name" != bare ]; then
    press_key "$win" Return keydown
  fi
  sleep "$warmup"
  local cpu0 t0
  cpu0=$(cpu_seconds $pid)
  t0=$(date +%s.%N)
  if [ "$name" != bare ]; then
    press_key "$win" Return keyup
    press_key "$win" space keydown
    # Weave: up and down a quarter of a second each, so Santa dodges a little.
    local end
    end=$(awk -v t="$t0" -v s="$seconds" 'BEGIN { printf "%d", t + s }')
    while [ "$(date +%s)" -lt "$end" ]; do
      xdotool keydown --window "$win" Up; sleep 0.25; xdotool keyup --window "$win" Up
      xdotool keydown --window "$win" Down; sleep 0.25; xdotool keyup --window "$win" Down
    done
  else
    sleep "$seconds"
  fi
  local cpu1 t1 hwm
  cpu1=$(cpu_seconds $pid)
  t1=$(date +%s.%N)
  hwm=$(awk '/VmHWM/ { print $2 }' /proc/$pid/status)
  press_key "$win" Escape
  wait $pid
  local line
  line=$(grep '^tinselrun-stats' "$out")
  awk -v name="$name" -v rate="$rate" -v line="$line" -v c0="$cpu0" -v c1="$cpu1" -v t0="$t0" -v t1="$t1" -v hwm="$hwm" 'BEGIN {
    n = split(line, f, /[ =]/)
    for (i = 2; i < n; i += 2) v[f[i]] = f[i + 1]
    expected = int(v["seconds"] * rate + 1e-9)
    printf "%-6s ticks/s %.3f  ticks %d of %d due (lost %d)  frames %d (%.2f/s)  cpu %.1f%%  peak %.1f MB\n",
      name, v["ticks"] / v["seconds"], v["ticks"], expected, expected - v["ticks"], v["frames"],
      v["frames"] / v["seconds"], 100 * (c1 - c0) / (t1 - t0), hwm / 1024
  }'
}

run game "$build" 60 ./tinselrun-measured
run spin "$build" 60 ./tinselrun-measured --spin
run slow "$build" 30 ./tinselrun-measured --speed 50
run bare "$build" 60 "$build/bench/bare_loop" img/7.dat
