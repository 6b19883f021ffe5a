#!/usr/bin/env bash
# Without an audio device the game and the runner play on silently and say so once; without a
# display the game shows its start-up failure text on stderr and ends with status 0.
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

env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy timeout 20 ./tinselrun \
  2>"$work/nodisplay.txt"
status=$?
[ $status -eq 0 ] || { echo "the game without a display exited $status"; fail=1; }
grep -q 'Direct3Dの作成に失敗しました' "$work/nodisplay.txt" ||
  { echo "no start-up failure text on stderr:"; cat "$work/nodisplay.txt"; fail=1; }
[ $fail -eq 0 ] && echo "silent without audio, one clear failure without a display"
exit $fail
