#!/bin/sh
# usage: build.sh [BUILD_DIR]   -- configures (once) and builds every target with MinGW-w64.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${1:-${BUILD_DIR:-$ROOT/build}}
if [ ! -f "$B/build.ninja" ]; then
    cmake -S "$ROOT" -B "$B" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
fi
cmake --build "$B" -- -j"$(nproc)" ${NINJA_FLAGS:-}
