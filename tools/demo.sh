#!/bin/sh
# The demo from a fresh Debian 12 machine: installs what is missing, builds, and runs Marovin
# under Wine. With DISPLAY set the window appears there and the demo ends when it is closed;
# without, it runs on a private Xvfb and leaves screenshots and logs in build/demo-out.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
OUT=${DEMO_OUT:-$B/demo-out}

# The card in use until the program records from it: the test bed's viewer shows card 1's
# live stream (demultiplexer, decoder, Wine's renderer) for a few seconds and saves its window.
# A viewer that fails is reported; the demo of the program goes on.
show_card() {
    if wine64 vcapview.exe --card 1 --seconds "${DEMO_VIEWER_SECONDS:-3}" --shot "Z:$OUT/card1-viewer.bmp" >"$OUT/viewer.log" 2>&1; then
        convert "$OUT/card1-viewer.bmp" "$OUT/card1-viewer.png" 2>/dev/null && rm -f "$OUT/card1-viewer.bmp"
    else
        echo "demo: the viewer could not show card 1 (see $OUT/viewer.log)"
    fi
}

if [ "${1:-}" = "--inside" ]; then
    # Runs inside tools/with-wine.sh: prefix, display and wineserver are ready.
    cd "$B/bin"
    # The test bed's filters and a virtual card: the device the demo runs on.
    wine64 vcapinstall.exe register
    wine64 vcapinstall.exe list | grep -q . || wine64 vcapinstall.exe install --card 1 --type 1 --bus usb20 >/dev/null
    if [ "${DEMO_INTERACTIVE:-0}" = 1 ]; then
        show_card
        wine64 Marovin.exe
        exit $?
    fi
    wine64 Marovin.exe >"$OUT/marovin.log" 2>&1 &
    PID=$!
    sleep "${DEMO_SECONDS:-4}"
    "$ROOT/tools/screenshot.sh" "$OUT/marovin-main.png"
    show_card
    if ! kill -0 "$PID" 2>/dev/null; then
        wait "$PID"; RC=$?
        echo "demo: Marovin ended early with status $RC (see $OUT/marovin.log)"
        exit 1
    fi
    exit 0
fi

"$ROOT/tools/install-deps.sh"
"$ROOT/tools/build.sh" "$B" demo
"$ROOT/tools/prepare-prefix.sh" "$B/wine-template"
rm -rf "$OUT"; mkdir -p "$OUT"
export WINE_KEEPALIVE="$B/bin/wine-keepalive.exe" DEMO_OUT="$OUT"
if [ -n "${DISPLAY:-}" ]; then
    export KEEP_DISPLAY=1 DEMO_INTERACTIVE=1
    echo "demo: Marovin opens on $DISPLAY; close its window to end the demo."
fi
RC=0
"$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/demo-run" "$0" --inside || RC=$?
[ "${DEMO_INTERACTIVE:-0}" = 1 ] || echo "demo: screenshots and logs are in $OUT"
exit $RC
