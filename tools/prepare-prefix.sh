#!/bin/sh
# usage: prepare-prefix.sh TEMPLATE_DIR
# Boots a Wine prefix once, with the settings every run needs, to be cloned per run.
set -eu
T=$(realpath -m "$1")
[ -f "$T/.ready" ] && exit 0
rm -rf "$T"; mkdir -p "$T"
export PATH="/usr/lib/wine:$PATH" WINEARCH=win64 WINEDEBUG=-all WINEPREFIX="$T"
export HOME="$(dirname "$T")/wine-home"; mkdir -p "$HOME"
unset DISPLAY    # no installer dialogs while booting
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
wine64 wineboot -i >/dev/null 2>&1
r() { wine64 reg add "$@" /f >/dev/null 2>&1; }
r 'HKCU\Software\Wine\X11 Driver' /v Managed /d N       # no window manager under Xvfb
r 'HKCU\Software\Wine\Drivers' /v Audio /d alsa
r 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
r 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d ''
r 'HKCU\Software\Wine\DllOverrides' /v winedbg.exe /d ''   # a crash exits with a failing code
wineserver -k 2>/dev/null || true
wineserver -w
printf 'pcm.!default { type null }\n' > "$HOME/.asoundrc"  # audio renderers work without a card
touch "$T/.ready"
