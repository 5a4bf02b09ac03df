#!/bin/sh
# The demo from a fresh Debian 12 machine: installs what is missing, builds, and runs Marovin
# under Wine on the test bed's virtual capture card. With DISPLAY set the window appears there
# and the demo ends when it is closed; without, it runs on a private Xvfb, previews the card,
# records about five seconds, stops, and leaves the screenshots (preview, recording, recent
# list), the recording and its ffprobe summary and the logs in build/demo-out.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
OUT=${DEMO_OUT:-$B/demo-out}

# Presses Marovin's record control (1014) the way a click does.
press_record() {
    wine64 uipress.exe Marovin 1014 || echo "demo: Marovin's window was not found"
}

if [ "${1:-}" = "--inside" ]; then
    # Runs inside tools/with-wine.sh: prefix, display and wineserver are ready.
    cd "$B/bin"
    # The test bed's filters and a virtual card: the device the demo runs on; the writer;
    # recordings go to the demo's output folder.
    wine64 vcapinstall.exe register
    wine64 vcapinstall.exe list | grep -q . || wine64 vcapinstall.exe install --card 1 --type 1 --bus usb20 >/dev/null
    wine64 regsvr32 /s Scrivet.ax
    wine64 reg add 'HKCU\Software\Halvark\Marovin\Capture' /v RecordingFolder /t REG_SZ /d "Z:$OUT/" /f >/dev/null 2>&1
    if [ "${DEMO_INTERACTIVE:-0}" = 1 ]; then
        wine64 Marovin.exe
        exit $?
    fi
    wine64 Marovin.exe >"$OUT/marovin.log" 2>&1 &
    PID=$!
    # The preview starts a second after the window; the card's picture then fills the area.
    sleep "${DEMO_SECONDS:-5}"
    "$ROOT/tools/screenshot.sh" "$OUT/marovin-preview.png"
    press_record
    sleep 3
    "$ROOT/tools/screenshot.sh" "$OUT/marovin-recording.png"
    sleep 2
    press_record
    sleep 3
    "$ROOT/tools/screenshot.sh" "$OUT/marovin-recent.png"
    if ! kill -0 "$PID" 2>/dev/null; then
        wait "$PID"; RC=$?
        echo "demo: Marovin ended early with status $RC (see $OUT/marovin.log)"
        exit 1
    fi
    wine64 uipress.exe Marovin 1043 >/dev/null 2>&1 || true
    wait "$PID" || true
    if [ -f "$OUT/clip1.mpg" ]; then
        ffprobe -hide_banner "$OUT/clip1.mpg" >"$OUT/clip1-ffprobe.txt" 2>&1 || true
        echo "demo: recorded $OUT/clip1.mpg:"
        grep -E "Duration|Stream" "$OUT/clip1-ffprobe.txt" | sed 's/^/    /'
    else
        echo "demo: no recording was made (see $OUT/marovin.log)"
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
