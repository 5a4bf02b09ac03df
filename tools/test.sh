#!/bin/sh
# The whole test suite from a fresh Debian 12 machine: installs what is missing, builds,
# prepares the Wine prefix template and runs every test under Wine and Xvfb.
# usage: test.sh [ctest arguments...]   (e.g. -R skin to run a subset)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
START=$(date +%s)
"$ROOT/tools/install-deps.sh"
"$ROOT/tools/build.sh" "$B"
"$ROOT/tools/prepare-prefix.sh" "$B/wine-template"
export WINE_KEEPALIVE="$B/bin/wine-keepalive.exe"
set +e
"$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/test-run" \
    ctest --test-dir "$B" --output-on-failure -j"${TEST_JOBS:-2}" "$@"
RC=$?
echo "test.sh: finished in $(( $(date +%s) - START )) s with status $RC"
exit $RC
