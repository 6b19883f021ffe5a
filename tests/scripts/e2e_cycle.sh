#!/usr/bin/env bash
# A player's whole cycle in the real game under Xvfb, with the sound captured through SDL's
# disk audio driver: opening (Space held: one life), title, stage, the life lost at the right
# edge, the game-over screen, back to the opening, Escape. Each scene's screenshot must differ
# from the last and not be the plain grey; the captured sound must be there and not clipped.
# Screenshots and the sound are kept in build/e2e/.
set -u
build=$(cd "$1" && pwd)
out=$build/e2e
rm -rf "$out"; mkdir -p "$out"
for tool in Xvfb xdotool xwd convert compare sox soxi; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

source "$(dirname "$0")/../support/xvfb.sh"
game=""
trap 'kill $game 2>/dev/null; stop_xvfb; wait 2>/dev/null' EXIT
cd "$build"
start_game_in_window "$out/stderr.txt" \
  env SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$out/sound.raw" ./tinselrun || exit 1
xdotool windowfocus --sync "$win" 2>/dev/null || true
sleep 0.5

# A key goes down, stays down for a few frames, and comes up: never an instant tap.
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
shots=()
shot() {
  window_png "$win" "$out/$1.png"
  shots+=("$1")
}

# Start-up loads every picture and sound while the window is up: the opening is on screen
# once the window shows more than a few colours.
for _ in $(seq 150); do
  window_png "$win" "$out/first.png" 2>/dev/null &&
    [ "$(convert "$out/first.png" -format %k info: 2>/dev/null || echo 0)" -gt 16 ] && break
  sleep 0.2
done
sleep 0.5
hold space 0.3          # one-life run
sleep 0.7; shot 1-opening
hold Return 0.2         # skip the opening
sleep 1.0; shot 2-title
sleep 1.5
hold Return 0.3         # the title accepts Enter after its lock-out (confirm sound every frame)
sleep 3.5; shot 3-stage # Santa has slid in by stage frame 80
hold Right 3.0          # walk into the right edge: the only life is lost
sleep 5.5; shot 4-gameover
hold Return 0.3         # fade the game-over screen out, back to the opening
sleep 2.0; shot 5-opening-again
xdotool key Escape
for _ in $(seq 150); do kill -0 $game 2>/dev/null || break; sleep 0.1; done
kill -0 $game 2>/dev/null && { echo "Escape did not end the game"; exit 1; }
wait $game; status=$?
[ $status -eq 0 ] || { echo "the game exited with status $status"; exit 1; }

fail=0
prev=""
for s in "${shots[@]}"; do
  colours=$(convert "$out/$s.png" -format %k info:)
  if [ "$colours" -le 1 ]; then echo "$s: a single colour"; fail=1; fi
  if convert "$out/$s.png" -format '%[pixel:p{400,300}]' info: | grep -q 'srgb(100,100,100)' &&
     [ "$colours" -le 2 ]; then echo "$s: only the grey clear colour"; fail=1; fi
  if [ -n "$prev" ]; then
    diff=$(compare -metric AE "$out/$prev.png" "$out/$s.png" null: 2>&1 | cut -d' ' -f1)
    if [ "${diff%.*}" -lt 1000 ]; then echo "$s: hardly differs from $prev ($diff pixels)"; fail=1; fi
  fi
  prev=$s
done

# The sound: 44.1 kHz stereo 16-bit, as the game opens the device.
raw=$out/sound.raw
[ -s "$raw" ] || { echo "no sound was captured"; exit 1; }
sox -t raw -r 44100 -e signed -b 16 -c 2 "$raw" "$out/sound.wav"
stats() { sox "$out/sound.wav" -n trim "$1" "$2" "${@:3}" stats 2>&1; }
level() { stats "$@" | awk '/^RMS lev dB/ {print $4}'; }
opening=$(level 2.2 0.5)
# The confirm tick restarts every frame while Enter is held on the title. It is short, so its
# copies do not stack into a roar; it is heard by its second note (1976 Hz), where the music is
# thin: there the loudest half second of the capture stands far above the usual level.
length=$(soxi -D "$out/sound.wav")
levels=$(for t in $(seq 0.5 0.5 "$length"); do level "$t" 0.5 sinc 1800-2100; done |
  grep -v inf | sort -g)
median=$(echo "$levels" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
loudest=$(echo "$levels" | tail -n 1)
peak=$(sox "$out/sound.wav" -n stats 2>&1 | awk '/^Pk lev dB/ {print $4}')
echo "opening RMS ${opening} dB; at 1.8-2.1 kHz half-second RMS median ${median} dB, loudest" \
  "${loudest} dB; peak ${peak} dB"
awk -v v="$opening" 'BEGIN { exit !(v != "-inf" && v > -45) }' || { echo "the opening music is silent"; fail=1; }
awk -v m="$median" -v l="$loudest" 'BEGIN { exit !(l > m + 16) }' ||
  { echo "the confirm (hit) sound is not heard over the music"; fail=1; }
awk -v p="$peak" 'BEGIN { exit !(p < -0.01) }' || { echo "the sound is clipped (peak $peak dB)"; fail=1; }
[ $fail -eq 0 ] && echo "the whole cycle ran; screenshots in $out"
exit $fail
