#!/bin/sh
# Repeats start/record/stop/release cycles of the capture engine on the virtual card (300 by
# default) and prints the process's threads and committed memory every 50 cycles.
# usage: capture-soak.sh [CYCLES]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
cmake --build "$B" --target capture_bench wine-keepalive -- ${NINJA_FLAGS:-}
"$ROOT/tools/prepare-prefix.sh" "$B/wine-template"
export WINE_KEEPALIVE="$B/bin/wine-keepalive.exe" MAROVIN_TEST_OUT="$B/bench-out" CAPTURE_SOAK_CYCLES="${1:-300}"
mkdir -p "$B/bench-out"
"$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/soak-run" \
    wine64 "$B/bin/capture_bench.exe" --gtest_filter=CaptureBench.Soak 2>&1 | grep -av '^[0-9a-f]*:\(fixme\|err\|warn\)'
