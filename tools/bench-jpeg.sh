#!/bin/sh
# Builds the JPEG encoder natively (host g++, optimised) and runs its benchmark against
# libjpeg-turbo: speed with and without libjpeg-turbo's SIMD, stream sizes and PSNR.
# usage: bench-jpeg.sh [BUILD_DIR]   (default build-host/jpeg-bench)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${1:-$ROOT/build-host/jpeg-bench}
"$ROOT/tools/install-deps.sh"
cmake -S "$ROOT/app/features/jpeg/host" -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$B" --target jpeg_bench -- ${NINJA_FLAGS:-}
"$B/jpeg_bench"
