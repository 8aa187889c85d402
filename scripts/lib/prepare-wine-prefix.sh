#!/usr/bin/env bash
# Makes the Wine prefix in build/wine that the program and the tests run in.
set -euo pipefail
. "$(dirname "$0")/common.sh"
wine_env

rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
ensure_display
trap 'stop_wineserver; stop_display' EXIT

wineboot --init </dev/null
wineserver -w

# Debian's Wine looks for its own fonts in a folder that does not exist;
# without them not even GDI+'s generic sans-serif family is there.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
cp /usr/share/fonts/truetype/liberation/*.ttf "$fonts/" 2>/dev/null || true

reg="$WINEPREFIX/pelidore.reg"
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Franklin Gothic Medium"="Liberation Sans Narrow"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
REG
wine regedit /S "$reg" </dev/null
wineserver -w

# The user folders are links into $HOME; make them real folders inside the
# prefix so that nothing the program or a test writes lands in the user's home.
userdir="$WINEPREFIX/drive_c/users/$(id -un)"
for d in "$userdir"/*; do
    if [ -L "$d" ]; then
        rm -f "$d"
        mkdir -p "$d"
    fi
done
mkdir -p "$userdir/Documents"
