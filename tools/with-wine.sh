#!/bin/sh
# usage: with-wine.sh TEMPLATE_DIR RUN_DIR command...
# Clones the prefix template into RUN_DIR, starts Xvfb (unless KEEP_DISPLAY=1 and DISPLAY is
# set) and a warm wineserver, runs the command and tears everything down. Exit status is the
# command's. Exports WINEPREFIX, DISPLAY, HOME and MAROVIN_RUN_DIR for the command.
set -u
T=$(realpath "$1"); R=$(realpath -m "$2"); shift 2
[ -f "$T/.ready" ] || { echo "with-wine: $T is not a prepared prefix" >&2; exit 2; }
export PATH="/usr/lib/wine:$PATH" WINEDEBUG=${WINEDEBUG:--all} WINEPREFIX="$R/prefix"
export HOME="$(dirname "$T")/wine-home" MAROVIN_RUN_DIR="$R"
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
rm -rf "$R"; mkdir -p "$R"
# Hard links keep the clone cheap; the registry files are private so wineserver cannot
# rewrite the template's copies in place.
cp -al "$T" "$WINEPREFIX" && rm -f "$WINEPREFIX"/*.reg && cp -p "$T"/*.reg "$WINEPREFIX"/

XPID=""
if [ "${KEEP_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
    :
else
    D=${XVFB_DISPLAY:-}
    if [ -z "$D" ]; then
        D=90
        while [ -e "/tmp/.X$D-lock" ] || [ -e "/tmp/.X11-unix/X$D" ]; do D=$((D + 1)); done
    fi
    Xvfb ":$D" -screen 0 1280x1024x24 -nolisten tcp >"$R/xvfb.log" 2>&1 &
    XPID=$!
    export DISPLAY=":$D"
    i=0
    while [ ! -e "/tmp/.X11-unix/X$D" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
fi
echo "$DISPLAY" > "$R/display"

wineserver -p </dev/null >/dev/null 2>&1
# Start the prefix's services now so they do not inherit the command's pipes.
wine64 wineboot </dev/null >/dev/null 2>&1
# A resident windowed process keeps explorer warm; without it each GUI test pays ~1.3 s.
if [ -n "${WINE_KEEPALIVE:-}" ] && [ -f "$WINE_KEEPALIVE" ]; then
    # The first window of the run starts the desktop process: let that happen here, with
    # silent standard handles, before any test can start it on ctest's output pipe.
    wine64 "$WINE_KEEPALIVE" --warm </dev/null >/dev/null 2>&1
    wine64 "$WINE_KEEPALIVE" </dev/null >/dev/null 2>&1 &
fi

"$@"; RC=$?

wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
[ -n "$XPID" ] && { kill "$XPID" 2>/dev/null; wait "$XPID" 2>/dev/null; }
exit $RC
