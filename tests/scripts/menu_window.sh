#!/usr/bin/env bash
# The menu in the real window under Xvfb: P, Down, Right turn the volume up a step in the
# settings file; with the window widened (bars left and right) a click on MUTE mutes; Escape
# resumes, a second Escape quits. The window's picture of the menu is kept in build/menu/.
set -u
build=$(cd "$1" && pwd)
out=$build/menu
mkdir -p "$out"
for tool in Xvfb xdotool xwd convert; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

source "$(dirname "$0")/../support/xvfb.sh"
game=""
errors=$(mktemp)
trap 'kill $game 2>/dev/null; stop_xvfb; wait 2>/dev/null; rm -f "$errors"' EXIT
cd "$build"
start_game_in_window "$errors" env SDL_AUDIODRIVER=dummy ./tinselrun --volume 50 || exit 1
settings=$XDG_CONFIG_HOME/tinselrun/settings.ini
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 2

# Waits up to 10 s for the settings file to hold the line $1.
kept() {
  for _ in $(seq 100); do grep -qx "$1" "$settings" 2>/dev/null && return 0; sleep 0.1; done
  echo "the settings never held '$1':"; cat "$settings" 2>/dev/null || echo "(no file)"
  return 1
}

fail=0
xdotool key p; sleep 0.5; xdotool key Down; sleep 0.3; xdotool key Right
kept volume=60 || fail=1
sleep 0.3
window_png "$win" "$out/window.png" || { echo "cannot take the window's picture"; fail=1; }

# The picture lies 100 px in from the left in a window 1000 x 600; MUTE is the third item,
# at picture x 140-660, y 221-260 (src/app/menu.cpp).
xdotool windowsize "$win" 1000 600; sleep 1
kept window_width=1000 || fail=1
xdotool mousemove --window "$win" $((100 + 200)) 240 click 1
kept mute=1 || fail=1

xdotool key Escape; sleep 1
kill -0 $game 2>/dev/null || { echo "Escape in the menu ended the game"; exit 1; }
xdotool key Escape
for _ in $(seq 100); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
if kill -0 $game 2>/dev/null; then echo "Escape outside the menu did not quit"; exit 1; fi
wait $game; status=$?; game=""
[ $status -eq 0 ] || { echo "the game exited with status $status"; cat "$errors"; exit 1; }
[ -s "$errors" ] && { echo "stderr:"; cat "$errors"; }
[ $fail -eq 0 ] && echo "P, Down, Right kept volume=60; a click on MUTE through the bars kept mute=1"
exit $fail
