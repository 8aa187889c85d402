#!/usr/bin/env bash
# Runs the DPI test program once per monitor scale, in a copy of the test
# prefix whose LogPixels says the scale: the prefix every other test runs in
# keeps its 96 dpi, even while tests run side by side.
#   dpi-runs.sh <test program> <test prefix> <scratch prefix> [test arguments]
set -euo pipefail
program=$1 source=$2 copy=$3
shift 3

rm -rf "$copy"
mkdir -p "$copy/drive_c"
# Wine only reads the system's own files: links make the copy quick. The
# rest (registry, user folders) is written and gets its own copy.
shopt -s dotglob nullglob
for entry in "$source"/*; do
    [ "$(basename "$entry")" = drive_c ] || cp -a "$entry" "$copy/"
done
cp -al "$source/drive_c/windows" "$copy/drive_c/"
for entry in "$source"/drive_c/*; do
    [ "$(basename "$entry")" = windows ] || cp -a "$entry" "$copy/drive_c/"
done

export WINEPREFIX=$copy WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A quiet server of the copy's own, so that none inherits ctest's output.
wineserver -p </dev/null >/dev/null 2>&1
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$copy"' EXIT

status=0
for dpi in ${PELIDORE_TEST_DPIS:-96 144 192}; do
    echo "== $dpi dpi"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
    PELIDORE_TEST_DPI=$dpi wine "$program" "$@" </dev/null || status=1
done
exit $status
