#!/usr/bin/env bash
# Without an audio device the game and the runner play on silently and say so once. Without a
# display the game says so in one line and ends with status 1, having written nothing; when the
# user asked for a video driver that then fails it shows its start-up failure text, and a
# renderer that cannot be made ends the game with status 1 too.
set -u
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

cd "$build"
./tinselrun-sim --ticks 200 --trace "$work/good.jsonl" 2>/dev/null
SDL_AUDIODRIVER=no-such-driver ./tinselrun-sim --ticks 200 --trace "$work/silent.jsonl" 2>"$work/err.txt"
status=$?
[ $status -eq 0 ] || { echo "the runner without audio exited $status"; fail=1; }
[ "$(grep -c 'no audio device' "$work/err.txt")" -eq 1 ] && [ "$(wc -l < "$work/err.txt")" -eq 1 ] ||
  { echo "expected one line about the audio device, got:"; cat "$work/err.txt"; fail=1; }
cmp -s "$work/good.jsonl" "$work/silent.jsonl" || { echo "the game ran differently without sound"; fail=1; }

# One stderr line, status 1, nothing on stdout and no file written.
no_display() {  # label, expected words, env arguments...
  local label=$1 says=$2; shift 2
  local start=$SECONDS
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$@" \
    timeout 10 ./tinselrun --record "$work/rec.txt" --trace "$work/trace.jsonl" \
    >"$work/out.txt" 2>"$work/err.txt"
  local status=$?
  echo "$label: status $status after $((SECONDS - start)) s: $(cat "$work/err.txt")"
  [ $status -eq 1 ] || { echo "$label: expected status 1"; fail=1; }
  [ "$(wc -l < "$work/err.txt")" -eq 1 ] && grep -q "^tinselrun: no display ($says); tinselrun-sim plays without one$" "$work/err.txt" ||
    { echo "$label: expected one line saying: no display ($says)"; fail=1; }
  [ -s "$work/out.txt" ] && { echo "$label: wrote on stdout"; fail=1; }
  [ -e "$work/rec.txt" ] || [ -e "$work/trace.jsonl" ] && { echo "$label: wrote a file"; fail=1; }
  rm -f "$work/rec.txt" "$work/trace.jsonl"
}
no_display "unset" "DISPLAY and WAYLAND_DISPLAY are unset"
no_display "dead X" "X11 at DISPLAY=:9753 does not answer" DISPLAY=:9753

# A bad command line is still status 2, display or not.
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ./tinselrun --scale 0 2>/dev/null
status=$?
[ $status -eq 2 ] || { echo "a bad option without a display exited $status"; fail=1; }

# A driver the user asked for: its failure is the start-up failure the game has always shown.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy timeout 20 ./tinselrun \
  2>"$work/nodisplay.txt"
status=$?
[ $status -eq 1 ] || { echo "the game with SDL_VIDEODRIVER=x11 and no display exited $status"; fail=1; }
grep -q 'Direct3Dの作成に失敗しました' "$work/nodisplay.txt" ||
  { echo "no start-up failure text on stderr:"; cat "$work/nodisplay.txt"; fail=1; }
[ $fail -eq 0 ] && echo "silent without audio, one clear line without a display"
exit $fail
