#!/usr/bin/env bash
# The same runs through two builds of the headless runner must give the same bytes: the trace
# of the scripted stage, pictures of every scene and the mixed sound. Run it with a build made
# before an optimisation (REFERENCE) and one after (CANDIDATE).
# Usage: bench/trace_check.sh REFERENCE_BUILD_DIR CANDIDATE_BUILD_DIR
set -u
ref=${1:?usage: trace_check.sh REFERENCE_BUILD_DIR CANDIDATE_BUILD_DIR}
new=${2:?usage: trace_check.sh REFERENCE_BUILD_DIR CANDIDATE_BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Both read the candidate's assets, so that only the code differs.
assets=$new

# name | runner arguments
runs=(
  "stage|--ticks 8000 --input $here/scripts/stage.txt --audio @/stage.wav --snapshot 4558:@/busy.png --snapshot 5000:@/boss.png --snapshot 6300:@/over.png"
  "opening|--ticks 1200 --snapshot 1:@/op1.png --snapshot 400:@/op400.png --snapshot 1100:@/op1100.png"
  "ending|--ticks 3000 --scene ED --snapshot 1:@/ed1.png --snapshot 1500:@/ed1500.png --snapshot 2999:@/ed2999.png"
  "gameover|--ticks 200 --scene GAMEOVER --snapshot 30:@/go30.png --snapshot 199:@/go199.png"
)
status=0
for run in "${runs[@]}"; do
  name=${run%%|*}
  args=${run#*|}
  for side in ref new; do
    dir=$work/$side/$name
    mkdir -p "$dir"
    bin=$ref
    [ $side = new ] && bin=$new
    # shellcheck disable=SC2086
    "$bin/tinselrun-sim" --assets "$assets" ${args//@/$dir} --trace "$dir/trace.jsonl" 2>"$dir/stderr" \
      || { echo "$name: $side runner failed"; status=1; }
  done
  if diff -r -q "$work/ref/$name" "$work/new/$name" >/dev/null; then
    echo "$name: identical ($(ls "$work/new/$name" | wc -l) files, $(wc -l <"$work/new/$name/trace.jsonl") trace lines)"
  else
    echo "$name: DIFFERENT"
    diff -r -q "$work/ref/$name" "$work/new/$name"
    status=1
  fi
done
exit $status
