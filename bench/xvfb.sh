# Sourced by the real-window benchmarks: a private Xvfb display, shut down on exit.
# Starting and stopping the server is shared with the real-window tests.
. "$(dirname "${BASH_SOURCE[0]}")/../tests/support/xvfb.sh"

# start_xvfb, or the benchmark ends with the reason.
bench_start_xvfb() {
  command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool missing" >&2; exit 1; }
  start_xvfb >&2 || exit 1
}

# The first window xdotool search finds with these arguments (waits up to 30 s), or nothing.
wait_window() {
  local win=""
  for _ in $(seq 300); do
    win=$(xdotool search "$@" 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  echo "$win"
}

# The first window of process PID, or nothing.
window_of() { wait_window --pid "$1"; }

# Gives the window the focus, then sends it a key: press_key WINDOW KEY [keydown|keyup|key]
press_key() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1" >/dev/null 2>&1
  xdotool "${3:-key}" --window "$1" "$2"
}

# Sends Escape to the window named Tinselrun once it exists.
press_escape() {
  local win
  win=$(wait_window --name '^Tinselrun$')
  [ -n "$win" ] || return 1
  press_key "$win" Escape
}

# Processor seconds (user + system) that process PID has used so far.
cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{ sub(/.*\) /, ""); print ($12 + $13) / hz }' "/proc/$1/stat"
}

# Median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.6g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
