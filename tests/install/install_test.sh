#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the programs, the panel picture where qv20 looks for it, a valid desktop
# entry naming the file type of recorded runs, and the icons. As root it also
# runs the installed qvctl as a user who cannot write bin/: the working
# folders must appear in that user's data folder.
#   install_test.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
  echo "install_test: $*" >&2
  exit 1
}

# Width and height from a PNG's header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

for program in qv20 qvctl qvsim; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program missing"
done
[ -f "$prefix/share/qv20/qv2x.bmp" ] || fail "share/qv20/qv2x.bmp missing"

entry="$prefix/share/applications/qv20.desktop"
mime="$prefix/share/mime/packages/qv20.xml"
[ -f "$entry" ] || fail "the desktop entry is missing"
[ -f "$mime" ] || fail "the file type is missing"
grep -qx 'Exec=qv20 %F' "$entry" || fail "Exec is not 'qv20 %F'"
icon=$(sed -n 's/^Icon=//p' "$entry")
run_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
grep -q "^MimeType=.*$run_type;" "$entry" || fail "the entry does not open $run_type"

for size in 16 48 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  [ -f "$png" ] || fail "icon $png missing"
  [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
else
  echo "install_test: desktop-file-validate not installed, entry not validated"
fi
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime"
  grep -qx "60:$run_type:\*\.gra" "$prefix/share/mime/globs2" ||
    fail "*.gra is not $run_type in the mime database"
fi

if [ "$(id -u)" -ne 0 ] || ! command -v runuser >/dev/null || ! id nobody >/dev/null 2>&1; then
  echo "install_test: not root, the unwritable program folder is not tried"
  exit 0
fi
chmod 755 "$prefix"
data=$(runuser -u nobody -- mktemp -d)
trap 'rm -rf "$prefix" "$data"' EXIT
status=0
runuser -u nobody -- env XDG_DATA_HOME="$data" \
  "$prefix/bin/qvctl" --port "$prefix/no-such-port" identify 2>/dev/null || status=$?
[ "$status" -eq 4 ] || fail "qvctl as nobody exited $status, not 4 (port cannot be opened)"
for folder in LOG GRA QVML MEM; do
  [ -d "$data/qv20/$folder" ] || fail "qvctl did not make $folder in the user's data folder"
done
[ ! -e "$prefix/bin/LOG" ] || fail "qvctl wrote into the installed bin/"
echo "install_test: all files in place"
