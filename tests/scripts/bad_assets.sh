#!/usr/bin/env bash
# Every one of the 34 asset files in turn missing, empty, truncated, random bytes, a file of
# the other kind, or a header claiming an enormous size: each run prints exactly one stderr
# line naming the file, finishes with status 0, and traces the same game as the good files.
set -u
build=$(cd "$1" && pwd)
sim=$build/tinselrun-sim
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ticks=90
script=$work/keys.txt
printf '1-40 RETURN\n41-90 SPACE RIGHT\n' > "$script"

"$sim" --assets "$build" --ticks $ticks --input "$script" --trace "$work/base.jsonl" 2>"$work/base.err" ||
  { echo "the good assets do not run"; exit 1; }
[ -s "$work/base.err" ] && { echo "the good assets print:"; cat "$work/base.err"; exit 1; }

# Deterministic junk, so a failure can be reproduced.
junk() { awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }' LC_ALL=C; }
huge_png() {  # a PNG signature and an IHDR claiming 20000 x 20000 pixels
  printf '\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x4e\x20\x00\x00\x4e\x20\x08\x06\x00\x00\x00\x00\x00\x00\x00'
}
long_wav() {  # a WAV header whose data would last 11 minutes
  printf 'RIFF\x24\x00\x00\x10WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data\x00\x1c\x9c\x06'
  head -c 64 /dev/zero
}

files=()
for i in $(seq 18); do files+=("img/$i.dat"); done
for i in $(seq 16); do files+=("snd/$i.bom"); done

make_case() {  # folder, file, kind
  local dir=$1 file=$2 kind=$3 src=$build/$2
  mkdir -p "$dir/img" "$dir/snd"
  for f in "${files[@]}"; do [ "$f" = "$file" ] || ln -s "$build/$f" "$dir/$f"; done
  local size; size=$(stat -c %s "$src")
  case $kind in
    missing) ;;
    empty) : > "$dir/$file" ;;
    cut10) head -c 10 "$src" > "$dir/$file" ;;
    cuthalf) head -c $(( size / 2 )) "$src" > "$dir/$file" ;;
    cutlast) head -c $(( size - 1 )) "$src" > "$dir/$file" ;;
    random) junk 4096 "${#file}$size" > "$dir/$file" ;;
    otherkind) if [[ $file == img/* ]]; then cp "$build/snd/1.bom" "$dir/$file"; else cp "$build/img/3.dat" "$dir/$file"; fi ;;
    huge) if [[ $file == img/* ]]; then huge_png > "$dir/$file"; else long_wav > "$dir/$file"; fi ;;
  esac
}

run_case() {  # file kind -> prints a failure line, or nothing
  local file=$1 kind=$2 dir=$work/${1//\//_}-$2
  make_case "$dir" "$file" "$kind"
  "$sim" --assets "$dir" --ticks $ticks --input "$script" --trace "$dir/trace.jsonl" 2>"$dir/err.txt"
  local status=$?
  local lines; lines=$(wc -l < "$dir/err.txt")
  if [ $status -ne 0 ]; then echo "$file $kind: status $status"; return; fi
  if [ "$lines" -ne 1 ] || ! grep -q "$file" "$dir/err.txt"; then
    echo "$file $kind: expected one stderr line naming the file, got: $(head -c 300 "$dir/err.txt")"; return
  fi
  cmp -s "$dir/trace.jsonl" "$work/base.jsonl" || echo "$file $kind: the trace differs"
  rm -rf "$dir"
}
export -f run_case make_case junk huge_png long_wav
export build sim work ticks script
export files_list="${files[*]}"

cases=()
for f in "${files[@]}"; do
  for k in missing empty cut10 cuthalf cutlast random otherkind huge; do cases+=("$f $k"); done
done
failures=$(printf '%s\n' "${cases[@]}" |
  xargs -P "$(nproc)" -L 1 bash -c 'files=($files_list); run_case "$0" "$1"')
count=${#cases[@]}
if [ -n "$failures" ]; then
  echo "$failures"
  echo "$(echo "$failures" | wc -l) of $count bad-asset cases failed"
  exit 1
fi
echo "$count bad-asset cases: one line each, status 0, the same trace"
