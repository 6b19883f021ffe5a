#!/usr/bin/env bash
# Builds the Debian package from the build tree and checks it as Debian and a player would: its
# fields and files, lintian, the AppStream metadata, the desktop entry, the icons, and the
# unpacked runner playing from / the same 600 ticks as the build tree's.
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
for tool in cpack dpkg-deb dpkg-shlibdeps lintian appstreamcli desktop-file-validate identify; do
  command -v "$tool" >/dev/null || { echo "missing $tool (tools/setup/deps.sh installs it)"; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { echo "$*"; fail=1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$tmp/out/tinselrun_${version}_$(dpkg --print-architecture).deb
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
   [ ! -s "$deb" ]; then
  cat "$tmp/cpack.log"
  echo "cpack did not write $(basename "$deb")"
  exit 1
fi

# The control fields a package manager and a player see.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tinselrun ] || bad "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || bad "Version: $(field Version), the project's is $version"
[ "$(field Section)" = games ] || bad "Section: $(field Section)"
[[ "$(field Maintainer)" == *@* ]] || bad "Maintainer: $(field Maintainer)"
for lib in libc6 libsdl2-2.0-0 libsndfile1; do
  [[ ", $(field Depends)" == *", $lib "* ]] || bad "Depends lacks $lib: $(field Depends)"
done
# The music's decoder and the picture reader and writer are built in.
[[ "$(field Depends)" == *libvorbis* ]] && bad "Depends names libvorbis: $(field Depends)"
[[ "$(field Depends)" == *libsdl2-image* ]] && bad "Depends names SDL_image: $(field Depends)"

# Small enough to download and install without a thought: the music is Ogg Vorbis.
deb_bytes=$(stat -c %s "$deb")
[ "$deb_bytes" -lt 5000000 ] || bad "the package is $deb_bytes bytes, not under 5 MB"
installed_kib=$(field Installed-Size)
[ "$installed_kib" -lt $((10000000 / 1024)) ] || bad "it installs $installed_kib KiB, not under 10 MB"

# Every file in its place, owned by root, programs executable and nothing else; nothing outside
# /usr/games and /usr/share.
dpkg-deb -c "$deb" >"$tmp/contents" || bad "dpkg-deb -c failed"
has() { grep -q " \./$1\$" "$tmp/contents" || bad "missing /$1"; }
has usr/games/tinselrun
has usr/games/tinselrun-sim
for i in $(seq 18); do has "usr/share/games/tinselrun/img/$i.dat"; done
for i in $(seq 16); do has "usr/share/games/tinselrun/snd/$i.bom"; done
for size in 16 32 48 64 128 256; do has "usr/share/icons/hicolor/${size}x$size/apps/tinselrun.png"; done
has usr/share/man/man6/tinselrun.6.gz
has usr/share/man/man6/tinselrun-sim.6.gz
has usr/share/doc/tinselrun/copyright
has usr/share/doc/tinselrun/changelog.gz
awk '$2 != "root/root"' "$tmp/contents" | grep . && bad "files not owned by root"
grep -Ev ' \./($|usr/$|usr/(games|share)/)' "$tmp/contents" && bad "files outside /usr/games and /usr/share"
awk '$1 ~ /^-/ && ($1 ~ /x/) != ($6 ~ /^\.\/usr\/games\//)' "$tmp/contents" | grep . &&
  bad "executable bits where they do not belong"

# Debian's checks: lintian errors fail; what else it says is shown.
lintian --fail-on error --info --pedantic "$deb" >"$tmp/lintian" 2>&1 || bad "lintian found errors"
grep -E '^[EWIP]: ' "$tmp/lintian"

mkdir "$tmp/root"
dpkg-deb -x "$deb" "$tmp/root" || { echo "dpkg-deb -x failed"; exit 1; }
root=$tmp/root

# The desktop entry, the AppStream metadata and the icon are one application, under one id.
desktop=$(cd "$root/usr/share/applications" && echo *.desktop)
metainfo=$(cd "$root/usr/share/metainfo" && echo *.metainfo.xml)
id=${metainfo%.metainfo.xml}
[ "$desktop" = "$id.desktop" ] || bad "desktop entry $desktop for component $id"
desktop-file-validate "$root/usr/share/applications/$desktop" || bad "desktop-file-validate: $desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$metainfo" >"$tmp/appstream" 2>&1 ||
  { cat "$tmp/appstream"; bad "appstreamcli rejects $metainfo"; }
grep -q "<id>$id</id>" "$root/usr/share/metainfo/$metainfo" || bad "$metainfo does not hold <id>$id</id>"
grep -q "<launchable type=\"desktop-id\">$desktop</launchable>" "$root/usr/share/metainfo/$metainfo" ||
  bad "$metainfo does not launch $desktop"
grep -qx 'Categories=Game;ActionGame;' "$root/usr/share/applications/$desktop" || bad "Categories"
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/usr/share/applications/$desktop")
[ -x "$root/usr/games/$exec_cmd" ] || bad "Exec=$exec_cmd is not in /usr/games"
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/$desktop")
for size in 16 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png
  [ "$(identify -format '%wx%h' "$png" 2>&1)" = "${size}x$size" ] || bad "$icon.png is not ${size}x$size"
done
# The screenshots it names are real frames, taken by the build.
for shot in $(grep -o '<image[^>]*>[^<]*' "$root/usr/share/metainfo/$metainfo" | sed 's|.*/||'); do
  [ "$(identify -format '%wx%h' "$build/dist/screenshots/$shot" 2>&1)" = 800x600 ] ||
    bad "screenshot $shot was not taken by the build"
done

# The packed data is the build's, byte for byte, and the unpacked runner finds it from / and
# plays as the build tree's does.
diff -r "$build/img" "$root/usr/share/games/tinselrun/img" >/dev/null || bad "img/ differs from the build's"
diff -r "$build/snd" "$root/usr/share/games/tinselrun/snd" >/dev/null || bad "snd/ differs from the build's"
play=$src/tests/traces/stage_fire.txt
(cd "$build" && ./tinselrun-sim --ticks 600 --input "$play" --trace "$tmp/build.jsonl") ||
  bad "the build tree's runner failed"
err=$(cd / && "$root/usr/games/tinselrun-sim" --ticks 600 --input "$play" --trace "$tmp/unpacked.jsonl" 2>&1)
[ $? -eq 0 ] || bad "the unpacked runner failed: $err"
[ -z "$err" ] || bad "the unpacked runner did not find its data: $err"
cmp -s "$tmp/build.jsonl" "$tmp/unpacked.jsonl" || bad "the unpacked runner's trace differs from the build tree's"
[ "$(wc -l <"$tmp/unpacked.jsonl")" -eq 601 ] || bad "the unpacked runner's trace is not 601 lines"

[ $fail -eq 0 ] && echo "$(basename "$deb") ($deb_bytes bytes, $installed_kib KiB installed): contents, lintian, AppStream, desktop entry and a 600-tick run from / hold"
exit $fail
