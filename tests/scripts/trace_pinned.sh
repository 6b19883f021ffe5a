#!/usr/bin/env bash
# Replays the pinned scripts of tests/traces through the runner and compares the SHA-256 of each
# trace with the one checked in. Arguments: build folder, source folder, and optionally the
# runner to use (another build's or another compiler's), so every build is held to the same pins.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
sim=${3:-$build/tinselrun-sim}
pins=$src/tests/traces/pinned.txt
fail=0
count=0
while read -r hash script options; do
  case "$hash" in '' | '#'*) continue ;; esac
  count=$((count + 1))
  # shellcheck disable=SC2086  # the options are words on purpose
  if ! got=$(set -o pipefail; cd "$build" &&
             "$sim" $options --input "$src/tests/traces/$script" --trace - | sha256sum); then
    echo "the runner failed on $script ($options)"
    fail=1
    continue
  fi
  got=${got%% *}
  if [ "$got" != "$hash" ]; then
    echo "moved: $script ($options): the runner gave $got"
    echo "  new line if the change in play is meant: $got $script $options"
    fail=1
  fi
done <"$pins"
[ "$count" -gt 0 ] || { echo "no pins in $pins"; exit 1; }
[ $fail -eq 0 ] && echo "$count pinned traces hold ($sim)"
exit $fail
