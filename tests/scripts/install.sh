#!/usr/bin/env bash
# Installs into a temporary prefix, in Debian's layout for games: the game and the runner in
# games/, the data in share/games/tinselrun, a valid .desktop file, the icon and the manual; the
# installed runner finds its data from any current directory.
set -u
build=$(cd "$1" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "install failed"; exit 1; }
fail=0
for f in games/tinselrun games/tinselrun-sim share/icons/hicolor/64x64/apps/tinselrun.png \
         share/man/man6/tinselrun.6.gz; do
  [ -e "$prefix/$f" ] || { echo "missing $f"; fail=1; }
done
data=$prefix/share/games/tinselrun
for i in $(seq 18); do [ -s "$data/img/$i.dat" ] || { echo "missing img/$i.dat"; fail=1; }; done
for i in $(seq 16); do [ -s "$data/snd/$i.bom" ] || { echo "missing snd/$i.bom"; fail=1; }; done
desktop=$(echo "$prefix"/share/applications/*.desktop)
if [ ! -e "$desktop" ]; then
  echo "missing the desktop entry"
  fail=1
elif command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail=1
fi
cd /
err=$("$prefix/games/tinselrun-sim" --ticks 30 --snapshot "30:$prefix/frame.png" 2>&1 >/dev/null)
[ $? -eq 0 ] || { echo "the installed runner failed: $err"; fail=1; }
[ -z "$err" ] || { echo "the installed runner did not find its data: $err"; fail=1; }
[ -s "$prefix/frame.png" ] || { echo "no frame was drawn"; fail=1; }
[ $fail -eq 0 ] && echo "installed and ran from /"
exit $fail
