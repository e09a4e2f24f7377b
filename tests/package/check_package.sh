#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a scratch
# root, and checks it as an installation: the files where the menu entry
# says, a valid entry, and the installed program answering --version and
# making and checking a new database.
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb="$(ls "$scratch"/out/domiva_*_amd64.deb)"
dpkg-deb --field "$deb" Depends | grep -q 'libqt6sql6-sqlite'
dpkg -x "$deb" "$scratch/root"

root="$scratch/root/usr"
entry="$root/share/applications/domiva.desktop"
desktop-file-validate "$entry"
program="$(sed -n 's/^Exec=//p' "$entry")"
icon="$(sed -n 's/^Icon=//p' "$entry")"
test -x "$root/bin/$program"
test -f "$root/share/icons/hicolor/scalable/apps/$icon.svg"
test -f "$root/share/doc/domiva/guide.he.md"
test -f "$root/share/doc/domiva/images/start.png"

export QT_QPA_PLATFORM=offscreen HOME="$scratch/home"
"$root/bin/$program" --version | grep -q '^domiva '
"$root/bin/$program" --backup "$scratch/copy.sqlite" --database "$scratch/new.sqlite"
"$root/bin/$program" --check --database "$scratch/new.sqlite"
test -f "$scratch/copy.sqlite"
echo "package ok: $(basename "$deb")"
