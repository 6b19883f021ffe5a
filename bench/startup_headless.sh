#!/usr/bin/env bash
# The headless runner as a user runs it (no GLIBC_TUNABLES), whole processes, run after run in
# turn: its floor (loading its libraries and printing --help), start-up and shut-down alone
# (--ticks 0) and 6000 ticks of the stage (--ticks 6000 --scene GAMETIME). Medians of processor
# time (user + system, every thread: perf's task-clock) and wall time; ticks per second of the
# whole 6000-tick process. With a second build folder its runner runs in turn too.
# Needs perf.
# Usage: bench/startup_headless.sh BUILD_DIR [RUNS] [OTHER_BUILD_DIR]
set -u
build=$(cd "${1:?usage: startup_headless.sh BUILD_DIR [RUNS] [OTHER_BUILD_DIR]}" && pwd)
runs=${2:-15}
other=${3:+$(cd "$3" && pwd)}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset GLIBC_TUNABLES

# once NAME DIR ARGS...: one run; appends its processor and wall milliseconds to NAME's lists.
once() {
  local name=$1 dir=$2
  shift 2
  perf stat -e task-clock -o "$work/perf" "$dir/tinselrun-sim" --assets "$dir" "$@" \
    >/dev/null 2>"$work/err" || { echo "$name: runner failed: $(cat "$work/err")"; exit 1; }
  # perf times the runner alone, from its start to its end, not perf's own start-up.
  awk '/task-clock/ { printf "%.3f\n", $1 }' "$work/perf" >>"$work/$name.cpu"
  awk '/seconds time elapsed/ { printf "%.3f\n", $1 * 1000 }' "$work/perf" >>"$work/$name.wall"
}

sides=(new)
[ -n "$other" ] && sides+=(other)
for _ in $(seq "$runs"); do
  for side in "${sides[@]}"; do
    dir=$build
    [ "$side" = other ] && dir=$other
    once "$side.floor" "$dir" --help
    once "$side.zero" "$dir" --ticks 0
    once "$side.stage" "$dir" --ticks 6000 --scene GAMETIME
  done
done
for side in "${sides[@]}"; do
  dir=$build
  [ "$side" = other ] && dir=$other
  echo "$side: $dir"
  for what in floor zero stage; do
    printf '  %-6s processor %7.1f ms  wall %7.1f ms\n' "$what" \
      "$(median <"$work/$side.$what.cpu")" "$(median <"$work/$side.$what.wall")"
  done
  awk -v w="$(median <"$work/$side.stage.wall")" 'BEGIN { printf "  6000 ticks, whole process: %.0f ticks/s (wall)\n", 6000 / (w / 1000) }'
done
