#!/usr/bin/env bash
# Builds the Debian package and checks what it holds and what it depends on; where the
# package lists are there, apt-get checks (without installing) that it would install.
# Usage: package.sh <build folder> <artefact folder>
set -euo pipefail

build=$(readlink -f "$1")
artefacts=$(readlink -m "$2")
mkdir -p "$artefacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*"; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >"$work/cpack.log") ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(find "$work" -maxdepth 1 -name 'tavlon_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no tavlon_*.deb was made"
cp "$deb" "$artefacts/"

# The path is all that follows the date and time; names may hold blanks.
dpkg-deb -c "$deb" | awk '{ $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' >"$work/contents"
app_id=io.github.tavlon.Tavlon
for f in ./usr/bin/tavlon ./usr/bin/tavlon-engine ./usr/share/tavlon/HELP.HTM \
         ./usr/share/tavlon/Tavlon.bmp \
         ./usr/share/tavlon/Figures/11.bmp ./usr/share/applications/$app_id.desktop \
         ./usr/share/icons/hicolor/scalable/apps/$app_id.svg \
         ./usr/share/icons/hicolor/256x256/apps/$app_id.png \
         ./usr/share/metainfo/$app_id.metainfo.xml ./usr/share/man/man6/tavlon.6 \
         ./usr/share/doc/tavlon/LICENSE ./usr/share/mime/packages/$app_id.xml; do
  grep -qxF "$f" "$work/contents" || fail "$f is missing from the package"
done
[ "$(grep -c '^./usr/share/tavlon/Positions/.*\.tvl$' "$work/contents")" -eq 4 ] ||
  fail "the ready templates are missing from the package"
# The module that plays the sounds, loaded when they are switched on.
grep -q '^./usr/lib/.*tavlon/libtavlon_sounds\.so$' "$work/contents" ||
  fail "the sound module is missing from the package"

# The manual names the folders the package puts the game's data in.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/man/man6/tavlon.6 | grep -q '^\.I /usr/share/tavlon$' ||
  fail "the manual does not name /usr/share/tavlon"

depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6multimedia6 libc6 fonts-liberation fonts-wine; do
  grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done

if apt-cache show fonts-wine >/dev/null 2>&1; then
  apt-get install -s "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get would not install it"; }
fi
echo "package: $(basename "$deb") holds the program and its files; depends on $depends"
