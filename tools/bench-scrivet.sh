#!/bin/sh
# Builds Scrivet and its benchmark and runs it under Wine: Scrivet against the system File
# Writer and raw unbuffered writes, in one run on the disk of the build folder.
# usage: bench-scrivet.sh [--trace] [--only raw|scrivet|system|writers|shared] [MEGABYTES [ROUNDS]]
# (one kind of round alone; "writers": Scrivet and the system File Writer round by round;
# "shared": only the runs with another process writing to the same disk; --trace: Scrivet
# reports every Receive that blocked, with where it waited, and every slow write, on stderr)
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
cmake --build "$B" --target Scrivet scrivet_bench -- ${NINJA_FLAGS:-}
"$ROOT/tools/prepare-prefix.sh" "$B/wine-template"
if [ "${1:-}" = "--trace" ]; then
    export SCRIVET_TRACE=1 WINEDEBUG=-all,+debugstr
    shift
fi
ONLY=""
if [ "${1:-}" = "--only" ]; then ONLY="--only $2"; shift 2; fi
OUT="$B/bench-out"
mkdir -p "$OUT"
"$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/bench-run" sh -c '
    wine64 regsvr32 /s "Z:$0/bin/Scrivet.ax"
    # This prefix'"'"'s wineserver, whose CPU time the benchmark adds to its own.
    for p in $(pgrep -x wineserver64) $(pgrep -x wineserver); do
        if tr "\0" "\n" <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            export SCRIVET_BENCH_SERVER_PID=$p
        fi
    done
    wine64 "$0/bin/scrivet_bench.exe" "$@"
' "$B" $ONLY "Z:$OUT" "${1:-256}" "${2:-5}"
