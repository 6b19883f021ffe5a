#!/usr/bin/env bash
# The game as a hostile user drives it: a trace piped into a reader that goes away, no sound card
# and a screenshot that cannot be written each get one line of the game's own, and play goes on.
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
game=""
source "$(dirname "$0")/../support/xvfb.sh"
trap 'kill $game 2>/dev/null; stop_xvfb; wait 2>/dev/null; rm -rf "$work"' EXIT
fail=0
cd "$build"
export XDG_CONFIG_HOME=$work/config
printf '100 ESCAPE\n' > "$work/esc.txt"

# The reader takes three lines and goes; the game plays to the recording's Escape.
{ SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 60 ./tinselrun --replay "$work/esc.txt" \
    --trace - 2>"$work/pipe.err"; echo $? > "$work/pipe.status"; } | head -n 3 > /dev/null
status=$(cat "$work/pipe.status")
[ "$status" -eq 0 ] || { echo "a closed trace pipe: status $status"; fail=1; }
[ "$(wc -l < "$work/pipe.err")" -eq 1 ] && grep -q '^tinselrun: cannot write -: ' "$work/pipe.err" ||
  { echo "a closed trace pipe: expected one line, got:"; cat "$work/pipe.err"; fail=1; }

# ALSA without a card (an empty configuration) says nothing of its own; the game says it once.
: > "$work/no-card.conf"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH=$work/no-card.conf timeout 60 \
  ./tinselrun --replay "$work/esc.txt" 2>"$work/alsa.err"
grep -q 'ALSA' "$work/alsa.err" || [ "$(wc -l < "$work/alsa.err")" -gt 1 ] &&
  { echo "no sound card: expected at most one line, got:"; cat "$work/alsa.err"; fail=1; }

# A screenshot where no file can be made: one line, and the game goes on to its Escape.
export XDG_PICTURES_DIR=/proc
start_game_in_window "$work/shot.err" env SDL_AUDIODRIVER=dummy ./tinselrun || exit 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 1
xdotool key F12
sleep 1
xdotool key Escape
for _ in $(seq 100); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
wait $game
status=$?
game=""
[ $status -eq 0 ] || { echo "a failed screenshot: status $status"; fail=1; }
[ "$(wc -l < "$work/shot.err")" -eq 1 ] && grep -q '^tinselrun: cannot write the screenshot' "$work/shot.err" ||
  { echo "a failed screenshot: expected one line, got:"; cat "$work/shot.err"; fail=1; }

[ $fail -eq 0 ] && echo "a closed pipe, no sound card and a failed screenshot: one line each"
exit $fail
