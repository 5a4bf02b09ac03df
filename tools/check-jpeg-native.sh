#!/bin/sh
# Builds the JPEG encoder and its tests natively with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the tests, and has djpeg and ffmpeg decode the streams the
# corpus test wrote.
# usage: check-jpeg-native.sh [BUILD_DIR]   (default build-host/jpeg-sanitize)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${1:-$ROOT/build-host/jpeg-sanitize}
"$ROOT/tools/install-deps.sh"
cmake -S "$ROOT/app/features/jpeg/host" -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DJPEG_SANITIZE=ON >/dev/null
cmake --build "$B" --target jpeg_encoder_tests_native -- ${NINJA_FLAGS:-}
OUT="$B/test-out"
rm -rf "$OUT"
mkdir -p "$OUT"
MAROVIN_TEST_OUT="$OUT" "$B/jpeg_encoder_tests_native"
/usr/bin/python3 "$ROOT/app/features/jpeg/tests/check_decoders.py" "$OUT" | tail -3
