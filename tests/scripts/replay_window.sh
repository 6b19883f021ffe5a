#!/usr/bin/env bash
# Record and replay in the real window under Xvfb: twenty seconds played with xdotool (menus,
# walking, shooting, a pause, an F1 round trip, two screenshots), recorded and traced by the game;
# the runner's trace of the recording must be the game's, line for line, and so must the trace
# of the recording replayed in the window with other keys pressed meanwhile.
# Files are kept in build/replay/.
set -u
build=$(cd "$1" && pwd)
out=$build/replay
rm -rf "$out"; mkdir -p "$out/pictures"
for tool in Xvfb xdotool identify; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

source "$(dirname "$0")/../support/xvfb.sh"
game=""
trap 'kill $game 2>/dev/null; stop_xvfb; wait 2>/dev/null' EXIT
cd "$build"
export SDL_AUDIODRIVER=dummy XDG_PICTURES_DIR=$out/pictures

hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
# Runs a command with its stdout in a file ($1), as the process started_game_in_window watches.
stdout_to() { local file=$1; shift; exec "$@" >"$file"; }
ended() {  # waits up to $1 s for the game to end; its status in $status
  for _ in $(seq $(( $1 * 10 ))); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
  kill -0 $game 2>/dev/null && { echo "the game did not end by itself"; return 1; }
  wait $game; status=$?; game=""
}

start_game_in_window "$out/played.err" stdout_to "$out/played.out" \
  ./tinselrun --record "$out/session.txt" --trace "$out/played.jsonl" || exit 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 2
hold Return 0.3          # skip the opening
sleep 1.5
hold Return 0.3          # start from the title
sleep 3.5
xdotool keydown Right keydown space; sleep 1.5; xdotool keyup space; sleep 0.5; xdotool keyup Right
hold Up 0.6
xdotool key p; sleep 1.5; xdotool key p   # paused a second and a half
hold Down 0.4
xdotool key F1; sleep 1.5; xdotool key F12 F12; sleep 0.5; xdotool key F1; sleep 1
xdotool keydown Left keydown space; sleep 1.2; xdotool keyup Left keyup space
hold Right 2.0
xdotool key Escape
ended 5 || exit 1
[ $status -eq 0 ] || { echo "the game exited with status $status"; cat "$out/played.err"; exit 1; }

fail=0
ticks=$(sed -n 's/^# \([0-9]*\) ticks$/\1/p' "$out/session.txt")
[ -n "$ticks" ] || { echo "the recording has no closing line:"; cat "$out/session.txt"; exit 1; }
echo "recorded $ticks ticks, $(grep -vc '^#' "$out/session.txt") rules"
[ "$(wc -l < "$out/played.jsonl")" -eq $((ticks + 1)) ] || { echo "the game's trace is not $ticks ticks long"; fail=1; }
[ "$(grep -c ' F1$' "$out/session.txt")" -eq 2 ] || { echo "the F1 round trip is not in the recording"; fail=1; }
# The game played on after full screen and back (no pause was left behind).
tail -n 4 "$out/session.txt" | grep -q ' RIGHT$' || { echo "no walk recorded after the F1 round trip"; fail=1; }
grep -q '"class":"Ya"' "$out/played.jsonl" || { echo "no arrow was shot"; fail=1; }

./tinselrun-sim --input "$out/session.txt" --ticks "$ticks" --trace "$out/runner.jsonl" ||
  { echo "the runner refused the recording"; exit 1; }
cmp "$out/played.jsonl" "$out/runner.jsonl" || { echo "the runner's trace differs from the game's"; fail=1; }

# Two screenshots in one second: two files, each the 800 x 600 picture.
[ "$(sort -u "$out/played.out" | wc -l)" -eq 2 ] || { echo "F12 twice printed:"; cat "$out/played.out"; fail=1; }
while read -r shot; do
  case "$shot" in "$out/pictures/tinselrun-"*.png) ;; *) echo "F12 printed '$shot'"; fail=1 ;; esac
  [ "$(identify -format '%wx%h' "$shot" 2>/dev/null)" = 800x600 ] || { echo "$shot is not 800 x 600"; fail=1; }
done <"$out/played.out"

# The recording replayed in the window, with the keys pressed meanwhile ignored: it ends itself
# with the recorded Escape. Its trace goes to stdout, where a screenshot's path must not go.
./tinselrun --replay "$out/session.txt" --trace - >"$out/replayed.jsonl" 2>"$out/replayed.err" &
game=$!
find_game_window $game "$out/replayed.err" || exit 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 3; hold Left 1; hold space 1; xdotool key F1 F12; sleep 1
ended 60 || exit 1
[ $status -eq 0 ] || { echo "the replay exited with status $status"; cat "$out/replayed.err"; exit 1; }
cmp "$out/played.jsonl" "$out/replayed.jsonl" || { echo "the replay's trace differs from the game's"; fail=1; }
grep -q "^$out/pictures/tinselrun-.*\.png$" "$out/replayed.err" ||
  { echo "F12 with the trace on stdout printed no path on stderr"; fail=1; }
[ -s "$out/played.err" ] || [ -s "$out/replayed.err" ] && { echo "stderr:"; cat "$out"/*.err; }
[ $fail -eq 0 ] && echo "played $ticks ticks; the runner and the replay trace them line for line alike"
exit $fail
