#!/bin/sh
# Kills Marovin at random moments of a recording (ten by default), starts it again each time,
# and checks every recovered file with the recordings probe: it must decode with no complaint,
# end with the program end code and last as long as it was recorded (within a second).
# usage: recovery-soak.sh [KILLS] [SEED]
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
cmake --build "$B" --target marovin_record_test wine-keepalive -- ${NINJA_FLAGS:-}
"$ROOT/tools/prepare-prefix.sh" "$B/wine-template"
export WINE_KEEPALIVE="$B/bin/wine-keepalive.exe" MAROVIN_RECOVERY_KILLS="${1:-10}" \
    MAROVIN_RECOVERY_SEED="${2:-$(date +%s)}" GTEST_FILTER='MarovinRecovery.AKilled*'
"$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/soak-run" \
    ctest --test-dir "$B" --output-on-failure -V -R '^marovin_record' --timeout 1800 2>&1 |
    grep -aE -A4 'recovery:|OK \]|FAILED|Failure|^[0-9]+: (ok|FAIL) '
