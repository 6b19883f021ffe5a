#!/usr/bin/env bash
# The real game in a real window under Xvfb: it shows a window named "Tinselrun" and
# Escape ends it with status 0. The wait is generous: start-up may still be loading on a busy
# machine, and how fast is for bench/, not for a test.
set -u
build=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool missing"; exit 1; }

source "$(dirname "$0")/../support/xvfb.sh"
game=""
errors=$(mktemp)
trap 'kill $game 2>/dev/null; stop_xvfb; wait 2>/dev/null; rm -f "$errors"' EXIT
cd "$build"
start_game_in_window "$errors" env SDL_AUDIODRIVER=dummy ./tinselrun || exit 1
sleep 0.5
kill -0 $game 2>/dev/null || { echo "the game ended by itself"; exit 1; }

xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus "$win" >/dev/null 2>&1
xdotool key --window "$win" Escape
for _ in $(seq 150); do
  kill -0 $game 2>/dev/null || break
  sleep 0.1
done
if kill -0 $game 2>/dev/null; then echo "Escape did not end the game within 15 s"; exit 1; fi
wait $game
status=$?
[ $status -eq 0 ] || { echo "the game exited with status $status"; exit 1; }
echo "window shown, Escape ended the game with status 0"
