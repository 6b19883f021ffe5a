# Sourced by the real-window test scripts: a private X server, and the game's window on it.

# Starts Xvfb on a display it picks itself and exports DISPLAY; sets xvfb to its pid. The game
# keeps its settings in a fresh folder of its own (XDG_CONFIG_HOME), never the user's.
# Returns 1 when the server did not come up.
start_xvfb() {
  xvfb_config=$(mktemp -d)
  export XDG_CONFIG_HOME=$xvfb_config
  exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
  xvfb=$!
  local number=""
  read -r -t 20 number <&3 || { echo "Xvfb did not tell its display within 20 s"; return 1; }
  export DISPLAY=:$number
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb on $DISPLAY did not answer"
  return 1
}

stop_xvfb() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  xvfb=""
  [ -n "${xvfb_config:-}" ] && rm -rf "$xvfb_config"
  xvfb_config=""
}

# Waits up to 60 s for the window named Tinselrun of the game whose pid is $1; sets win to its
# id. Returns 1 when the game ended first or no window came, saying which and what the game
# wrote to stderr (the file $2).
find_game_window() {
  local pid=$1 errors=$2 start=$SECONDS
  win=""
  while [ $((SECONDS - start)) -lt 60 ]; do
    win=$(xdotool search --name '^Tinselrun$' 2>/dev/null | head -n 1)
    [ -n "$win" ] && return 0
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      echo "the game ended with status $? before its window appeared; its stderr:"
      sed 's/^/  /' "$errors"
      return 1
    fi
    sleep 0.1
  done
  echo "no window named Tinselrun appeared on $DISPLAY within 60 s; windows there:"
  xdotool search --name '.' getwindowname %@ 2>&1 | head -n 10 | sed 's/^/  /'
  echo "the game's stderr:"
  sed 's/^/  /' "$errors"
  return 1
}

# Starts a fresh Xvfb and the command ($2...) on it, stderr to the file $1, and waits for its
# window: sets xvfb, game and win. A server or a window that does not come up is tried once
# more from scratch (a loaded machine has been seen to lose one), and what went wrong the
# first time is printed either way; returns 1 when the second try fails too.
start_game_in_window() {
  local errors=$1; shift
  for attempt in 1 2; do
    if start_xvfb; then
      "$@" 2>"$errors" &
      game=$!
      find_game_window "$game" "$errors" && return 0
      kill "$game" 2>/dev/null; wait "$game" 2>/dev/null
      game=""
    fi
    stop_xvfb
    [ $attempt -eq 1 ] && echo "(attempt 1 failed as above; trying once more)"
  done
  return 1
}

# Writes the picture of window $1 to the PNG file $2. xwd reads the window as it stands;
# ImageMagick's import can wait for an event with the server grabbed and hang both itself and
# the game in XSync, which a loaded machine made happen.
window_png() {
  local xwd_file
  xwd_file=$(mktemp) || return 1
  timeout 20 xwd -silent -id "$1" -out "$xwd_file" && convert "xwd:$xwd_file" "$2"
  local status=$?
  rm -f "$xwd_file"
  return $status
}
