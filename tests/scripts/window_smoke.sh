#!/usr/bin/env bash
# The real game in a real window under Xvfb: it shows a window named "Tinselrun" and
# Escape ends it with status 0 within a second.
set -u
build=$1
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "Xvfb or xdotool missing"; exit 1; }

# Xvfb picks a free display itself and tells its number.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb=$!
read -r -t 20 number <&3 || { echo "Xvfb did not start"; exit 1; }
display=:$number
trap 'kill $game $xvfb 2>/dev/null; wait 2>/dev/null' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

cd "$build"
SDL_AUDIODRIVER=dummy ./tinselrun 2>/dev/null &
game=$!
win=""
for _ in $(seq 300); do
  win=$(xdotool search --name '^Tinselrun$' 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "no window named Tinselrun appeared"; exit 1; }
sleep 0.5
kill -0 $game 2>/dev/null || { echo "the game ended by itself"; exit 1; }

xdotool windowactivate --sync "$win" >/dev/null 2>&1 || xdotool windowfocus "$win" >/dev/null 2>&1
xdotool key --window "$win" Escape
for _ in $(seq 10); do
  kill -0 $game 2>/dev/null || break
  sleep 0.1
done
if kill -0 $game 2>/dev/null; then echo "Escape did not end the game within a second"; exit 1; fi
wait $game
status=$?
[ $status -eq 0 ] || { echo "the game exited with status $status"; exit 1; }
echo "window shown, Escape ended the game with status 0"
