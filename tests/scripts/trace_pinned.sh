#!/usr/bin/env bash
# Replays the pinned scripts of tests/traces through the runner and compares the SHA-256 of each
# trace with the one checked in. Arguments: build folder, source folder, and optionally the
# runner to use (another build's or another compiler's), so every build is held to the same pins.
# When a pin moves, it names the first tick and field that differ from the trace of a runner the
# pins held for: TINSELRUN_PIN_REFERENCE names one, or one is built from the last commit when the
# source has uncommitted changes, else from the commit that last changed pinned.txt.
# TINSELRUN_PINS=NAME checks that script only.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
sim=${3:-$build/tinselrun-sim}
pins=$src/tests/traces/pinned.txt
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
count=0

# The runner that wrote the pins, built from the commit that last changed them; empty if none.
reference=${TINSELRUN_PIN_REFERENCE:-}
reference_runner() {
  [ -n "$reference" ] && return 0
  local commit
  if [ -n "$(git -C "$src" status --porcelain -- src 2>/dev/null)" ]; then
    commit=$(git -C "$src" rev-parse HEAD 2>/dev/null)
  else
    commit=$(git -C "$src" log -1 --format=%H -- tests/traces/pinned.txt 2>/dev/null)
  fi
  [ -n "$commit" ] || { echo "  (no git history here to build a runner to compare with)"; return 1; }
  echo "  building the runner of $commit to compare with"
  mkdir -p "$work/ref/src" &&
    git -C "$src" archive "$commit" | tar -x -C "$work/ref/src" &&
    cmake -S "$work/ref/src" -B "$work/ref/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTINSELRUN_TESTS=OFF >"$work/ref.log" 2>&1 &&
    cmake --build "$work/ref/build" -j"$(nproc)" --target tinselrun-sim >>"$work/ref.log" 2>&1 ||
    { echo "  (could not build it)"; return 1; }
  reference=$work/ref/build/tinselrun-sim
}

while read -r hash script options; do
  case "$hash" in '' | '#'*) continue ;; esac
  [ -n "${TINSELRUN_PINS:-}" ] && [ "$script" != "$TINSELRUN_PINS" ] && continue
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
    if reference_runner; then
      # shellcheck disable=SC2086
      (cd "$build" &&
        "$reference" $options --input "$src/tests/traces/$script" --trace - >"$work/expected.jsonl" &&
        "$sim" $options --input "$src/tests/traces/$script" --trace - >"$work/got.jsonl") &&
        echo "  $(python3 "$src/tests/traces/first_difference.py" "$work/expected.jsonl" "$work/got.jsonl")"
    fi
  fi
done <"$pins"
[ "$count" -gt 0 ] || { echo "no pins in $pins${TINSELRUN_PINS:+ named $TINSELRUN_PINS}"; exit 1; }
[ $fail -eq 0 ] && echo "$count pinned traces hold ($sim)"
exit $fail
