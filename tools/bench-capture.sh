#!/bin/sh
# Builds the capture engine's benchmark and prints its figures under Wine: preview to first
# picture, record to first byte on disk, the stream missed at a recording's start, and CPU
# beside the test bed's viewer.
# usage: bench-capture.sh
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
cmake --build "$B" --target capture_bench wine-keepalive -- ${NINJA_FLAGS:-}
"$ROOT/tools/prepare-prefix.sh" "$B/wine-template"
export WINE_KEEPALIVE="$B/bin/wine-keepalive.exe" MAROVIN_TEST_OUT="$B/bench-out"
mkdir -p "$B/bench-out"
"$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/bench-run" \
    wine64 "$B/bin/capture_bench.exe" --gtest_filter=CaptureBench.Figures 2>&1 | grep -av '^[0-9a-f]*:\(fixme\|err\|warn\)'
