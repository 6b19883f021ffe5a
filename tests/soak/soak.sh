#!/usr/bin/env bash
# A long run of random input through the headless runner (build it with sanitizers to make
# this count): no sanitizer report, the task count far below the cap, memory flat over the
# second half, no leak at exit. SOAK_MEMORY=0 skips the memory check (a sanitizer's own
# allocator grows on its own).
#   tests/soak/soak.sh SIM TICKS [SEED]
set -u
sim=$1
ticks=$2
seed=${3:-1}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v ticks="$ticks" -v seed="$seed" -f "$here/gen_input.awk" > "$work/input.txt"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=16:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export LSAN_OPTIONS=suppressions=$here/../fuzz/lsan.supp:print_suppressions=0

"$sim" --ticks "$ticks" --input "$work/input.txt" --trace - 2>"$work/stderr.txt" |
  awk '{ n = gsub(/"class":/, ""); if (n > max) max = n; if (/"served":"[A-Za-z]+"/) served++ }
       END { print max > "'"$work/max"'"; print served > "'"$work/served"'" }' &
pipeline=$!
sleep 0.5
pid=$(pgrep -n -f -- "--input $work/input.txt" || true)
: > "$work/rss"
while kill -0 "$pipeline" 2>/dev/null; do
  [ -n "$pid" ] && awk '/^VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null >> "$work/rss"
  sleep 0.2
done
wait "$pipeline"
status=${PIPESTATUS[0]}

fail=0
if [ -s "$work/stderr.txt" ]; then
  echo "the run printed on stderr:"; head -n 40 "$work/stderr.txt"; fail=1
fi
max=$(cat "$work/max"); served=$(cat "$work/served")
samples=$(wc -l < "$work/rss")
read -r mid last peak < <(awk '{ v[NR] = $1; if ($1 > p) p = $1 } END { print v[int(NR / 2) + 1], v[NR], p }' "$work/rss")
echo "ticks $ticks, scenes served $served, most tasks at once $max, RSS (kB) at half time $mid, at the end $last, peak $peak, $samples samples"
[ "$max" -lt 400 ] || { echo "the task count grew to $max"; fail=1; }
[ "$served" -ge 3 ] || { echo "the cycle of scenes did not turn ($served scenes served)"; fail=1; }
if [ "${SOAK_MEMORY:-1}" = 1 ] && [ "$samples" -ge 6 ]; then
  # Flat: the second half grows by less than a tenth (and 8 MB) over the half-time figure.
  awk -v m="$mid" -v l="$last" 'BEGIN { exit !(l - m < m / 10 + 8192) }' ||
    { echo "memory grew over the second half: $mid kB -> $last kB"; fail=1; }
fi
exit $fail
