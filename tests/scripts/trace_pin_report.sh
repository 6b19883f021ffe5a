#!/usr/bin/env bash
# A moved pin names the first tick and field that differ: a runner with one planted change (the
# real one, with tick 1234's death sound altered on its way out) is held to the one_life pin.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/planted-sim" <<PLANT
#!/usr/bin/env bash
"$build/tinselrun-sim" "\$@" | sed '1235s/"deathSound":[0-9]*/"deathSound":99/'
PLANT
chmod +x "$work/planted-sim"
out=$(TINSELRUN_PINS=one_life.txt TINSELRUN_PIN_REFERENCE=$build/tinselrun-sim \
  "$src/tests/scripts/trace_pinned.sh" "$build" "$src" "$work/planted-sim")
status=$?
echo "$out"
[ $status -eq 1 ] || { echo "expected the check to fail, it exited $status"; exit 1; }
grep -q "first difference: tick 1234, field globals.deathSound: expected 4, got 99" <<<"$out" ||
  { echo "expected the planted tick and field to be named"; exit 1; }
