#!/usr/bin/env bash
# The runner as a hostile user drives it: Ctrl-C and kill end a run between ticks with whole
# outputs; an asset that is endless or would block start-up, or a snapshot that cannot be
# written, gets one line.
set -u
build=$(cd "$1" && pwd)
sim=$build/tinselrun-sim
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
cd "$build"

# Every line is a whole JSON object and the ticks run 0, 1, 2... without a gap.
whole_trace() {
  python3 -c '
import json, sys
text = open(sys.argv[1], "rb").read().decode()
assert text.endswith("\n"), "the last line is cut"
for n, line in enumerate(text.splitlines()):
    assert json.loads(line)["tick"] == n, "line %d" % n
' "$1"
}

# A signal ends a run that would last for days, at a tick boundary, with its own status.
for sig in INT:130 TERM:143; do
  name=${sig%:*} want=${sig#*:}
  "$sim" --ticks 2000000000 --trace "$work/sig.jsonl" --audio "$work/sig.wav" 2>"$work/sig.err" &
  pid=$!
  sleep 1
  kill -"$name" $pid
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -KILL $pid 2>/dev/null && echo "SIG$name: still running 10 s later"
  wait $pid
  status=$?
  [ $status -eq "$want" ] || { echo "SIG$name: status $status, not $want"; fail=1; }
  [ "$(wc -l < "$work/sig.err")" -eq 1 ] || { echo "SIG$name: expected one line, got:"; cat "$work/sig.err"; fail=1; }
  whole_trace "$work/sig.jsonl" || { echo "SIG$name: the trace is not whole"; fail=1; }
  sox "$work/sig.wav" -n stat 2>/dev/null || { echo "SIG$name: the WAV is not whole"; fail=1; }
done

# Endless or blocking assets: one line naming the file, an empty entry, and the run goes on.
for case in img/4.dat:zero snd/13.bom:zero img/4.dat:fifo img/5.dat:folder; do
  file=${case%:*} kind=${case#*:} dir=$work/assets-$kind
  rm -rf "$dir"; mkdir -p "$dir/img" "$dir/snd"
  for f in "$build"/img/*.dat "$build"/snd/*.bom; do ln -s "$f" "$dir/${f#"$build"/}"; done
  rm "$dir/$file"
  case $kind in
    zero) ln -s /dev/zero "$dir/$file" ;;
    fifo) mkfifo "$dir/$file" ;;
    folder) mkdir "$dir/$file" ;;
  esac
  timeout 30 "$sim" --assets "$dir" --ticks 60 --trace "$work/a.jsonl" 2>"$work/a.err"
  status=$?
  [ $status -eq 0 ] || { echo "$file as $kind: status $status"; fail=1; }
  [ "$(wc -l < "$work/a.err")" -eq 1 ] && grep -q "$file: cannot open" "$work/a.err" ||
    { echo "$file as $kind: expected one line naming it, got:"; cat "$work/a.err"; fail=1; }
done

# A snapshot that cannot be written: the runner's own one line.
"$sim" --ticks 5 --snapshot 3:/proc/shot.png 2>"$work/shot.err"
status=$?
[ $status -eq 1 ] && [ "$(wc -l < "$work/shot.err")" -eq 1 ] &&
  grep -q '^tinselrun-sim: cannot write /proc/shot.png: ' "$work/shot.err" ||
  { echo "an unwritable snapshot: status $status, expected one line of the runner's:"; cat "$work/shot.err"; fail=1; }

[ $fail -eq 0 ] && echo "signals end the runner cleanly; endless and blocking assets are refused"
exit $fail
