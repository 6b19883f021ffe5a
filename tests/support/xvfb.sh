# Sourced by the real-window test scripts: a private X server, and the game's window on it.

# Starts Xvfb on a display it picks itself and exports DISPLAY; sets xvfb to its pid.
start_xvfb() {
  exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
  xvfb=$!
  local number
  read -r -t 20 number <&3 || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=:$number
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

# Waits up to 30 s for the window named Tinselrun; sets win to its id.
find_game_window() {
  win=""
  for _ in $(seq 300); do
    win=$(xdotool search --name '^Tinselrun$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && return 0
    sleep 0.1
  done
  echo "no window named Tinselrun appeared"
  exit 1
}
