# Sourced by the real-window benchmarks: a private Xvfb display, shut down on exit.
# Xvfb picks a free display itself and tells its number.
start_xvfb() {
  command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool missing" >&2; exit 1; }
  exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
  XVFB_PID=$!
  local number
  read -r -t 20 number <&3 || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$number
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

stop_xvfb() { [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; }

# The first window of process PID (waits up to 30 s for it), or nothing.
window_of() {
  local win=""
  for _ in $(seq 300); do
    win=$(xdotool search --pid "$1" 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  echo "$win"
}

# Gives the window the focus, then sends it a key: press_key WINDOW KEY [keydown|keyup|key]
press_key() {
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus "$1" >/dev/null 2>&1
  xdotool "${3:-key}" --window "$1" "$2"
}

# Sends Escape to the window named Tinselrun once it exists.
press_escape() {
  local win=""
  for _ in $(seq 300); do
    win=$(xdotool search --name '^Tinselrun$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || return 1
  press_key "$win" Escape
}

# Processor seconds (user + system) that process PID has used so far.
cpu_seconds() {
  awk -v hz="$(getconf CLK_TCK)" '{ sub(/.*\) /, ""); print ($12 + $13) / hz }' "/proc/$1/stat"
}

# Median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.6g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
