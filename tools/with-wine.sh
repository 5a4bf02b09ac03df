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
    # Xvfb picks a free display itself, so parallel runs never share or race for one.
    : > "$R/display-number"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$R/display-number" >"$R/xvfb.log" 2>&1 &
    XPID=$!
    i=0
    while [ ! -s "$R/display-number" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
    [ -s "$R/display-number" ] || { echo "with-wine: Xvfb did not start (see $R/xvfb.log)" >&2; exit 2; }
    export DISPLAY=":$(cat "$R/display-number")"
fi
echo "$DISPLAY" > "$R/display"

wineserver -p </dev/null >/dev/null 2>&1
# Start the prefix's services now so they do not inherit the command's pipes.
wine64 wineboot </dev/null >/dev/null 2>&1
# A resident windowed process keeps explorer warm; without it each GUI test pays ~1.3 s.
# Wait until its window exists: otherwise the first test may start the desktop process
# itself, which then holds the test's output pipe open and ctest waits for its timeout.
if [ -n "${WINE_KEEPALIVE:-}" ] && [ -f "$WINE_KEEPALIVE" ]; then
    # The first window of the run starts the desktop process: let that happen here, with
    # silent standard handles, before any test can start it on ctest's output pipe.
    # A keep-alive older than its source may not know --warm and would wait for ever.
    timeout 120 wine64 "$WINE_KEEPALIVE" --warm </dev/null >/dev/null 2>&1 ||
        echo "with-wine: $WINE_KEEPALIVE --warm did not end in 120 s; rebuild it (target wine-keepalive)" >&2
    rm -f "$R/keepalive.ready"
    wine64 "$WINE_KEEPALIVE" "Z:$R/keepalive.ready" </dev/null >/dev/null 2>&1 &
    i=0
    while [ ! -e "$R/keepalive.ready" ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
fi

"$@"; RC=$?

wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
[ -n "$XPID" ] && { kill "$XPID" 2>/dev/null; wait "$XPID" 2>/dev/null; }
exit $RC
