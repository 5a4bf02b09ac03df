#!/bin/sh
# usage: build.sh [BUILD_DIR [TARGET...]]  -- configures (once) and builds with MinGW-w64:
# every target, or only the targets named (tools/demo.sh builds the target "demo").
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${1:-${BUILD_DIR:-$ROOT/build}}
[ $# -gt 0 ] && shift
if [ ! -f "$B/build.ninja" ]; then
    cmake -S "$ROOT" -B "$B" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
fi
cmake --build "$B" -- -j"$(nproc)" ${NINJA_FLAGS:-} "$@"
