#!/bin/sh
# Counts the Wine server requests of Marovin's start-ups, by start-up phase. On a shared
# machine the wall clock mostly measures the neighbours; the requests a start makes are the
# work it asks of the server, and they do not change with the load.
#
# usage: count-startup-requests.sh [RUNS] [TOP]
#   RUNS  measured starts after one warm-up start (default 5); the figures are their medians
#   TOP   also list the TOP most frequent requests of each phase (default 0: none)
# Uses BUILD_DIR (default build/) and its prepared prefix template; leaves the server trace
# in $BUILD_DIR/count-run/server.trace. Needs python3.
#
# The wineserver runs with -d1, which logs every request with its thread; Marovin runs with
# MAROVIN_STARTUP_PHASES=1, which makes it print each start-up phase as it ends, and with
# WINEDEBUG=warn+debugstr, which puts its debug output into the same file, in order.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$(realpath "${BUILD_DIR:-$ROOT/build}")
RUNS=${1:-5}
TOP=${2:-0}

if [ "${COUNT_STARTUP_INSIDE:-0}" != 1 ]; then
    [ -f "$B/bin/Marovin.exe" ] || { echo "count-startup-requests: build Marovin first" >&2; exit 2; }
    "$ROOT/tools/prepare-prefix.sh" "$B/wine-template"
    COUNT_STARTUP_INSIDE=1 exec "$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/count-run" "$0" "$RUNS" "$TOP"
fi

# Inside with-wine.sh: replace its quiet server with a tracing one, then warm it up as it does.
R=$MAROVIN_RUN_DIR
TRACE=$R/server.trace
wineserver -k 2>/dev/null || true
wineserver -w
: > "$TRACE"
# Without -f the server returns once its socket is open; its standard error stays the trace.
wineserver -p -d1 </dev/null >/dev/null 2>>"$TRACE"
wine64 wineboot </dev/null >/dev/null 2>&1
KEEPALIVE=$B/bin/wine-keepalive.exe
KEEPALIVE_PID=""
if [ -f "$KEEPALIVE" ]; then
    timeout 120 wine64 "$KEEPALIVE" --warm </dev/null >/dev/null 2>&1 || true
    wine64 "$KEEPALIVE" "Z:$R/keepalive.ready" </dev/null >/dev/null 2>&1 &
    KEEPALIVE_PID=$!
    i=0
    while [ ! -e "$R/keepalive.ready" ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i + 1)); done
fi

run=0
while [ $run -le "$RUNS" ]; do
    echo "=== marovin start $run" >> "$TRACE"
    MAROVIN_STARTUP_PHASES=1 WINEDEBUG=warn+debugstr wine64 "$B/bin/Marovin.exe" </dev/null >/dev/null 2>>"$TRACE" &
    pid=$!
    i=0
    # The last phase's line ends the start; then the window is closed as a user would.
    until sed -n "/^=== marovin start $run\$/,\$p" "$TRACE" | grep -aq 'ms in all'; do
        i=$((i + 1))
        if [ $i -gt 1200 ] || ! kill -0 $pid 2>/dev/null; then
            echo "count-startup-requests: start $run did not finish its first paint" >&2
            kill $pid 2>/dev/null || true
            exit 1
        fi
        sleep 0.1
    done
    echo "=== marovin shown $run" >> "$TRACE"
    wine64 taskkill /im Marovin.exe </dev/null >/dev/null 2>&1 || true
    i=0
    while kill -0 $pid 2>/dev/null && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    run=$((run + 1))
done
[ -n "$KEEPALIVE_PID" ] && kill "$KEEPALIVE_PID" 2>/dev/null || true

python3 - "$TRACE" "$RUNS" "$TOP" <<'EOF'
import collections, re, statistics, sys

trace, runs, top = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
call = re.compile(r'^([0-9a-f]{4,8}): (\w+)\(')
reply = re.compile(r'^[0-9a-f]{4,8}: \w+\(\) = ')
first_thread = re.compile(r'^([0-9a-f]{4,8}): init_first_thread\(\) = 0 \{ pid=([0-9a-f]+), tid=([0-9a-f]+)')
new_thread = re.compile(r'^([0-9a-f]{4,8}): new_thread\(\) = 0 \{ tid=([0-9a-f]+)')
marker = re.compile(r'^([0-9a-f]{4,8}):warn:debugstr:OutputDebugStringA "Marovin:  start-up phase: (.*?)\\r\\n"')
start = re.compile(r'^=== marovin start (\d+)$')
shown = re.compile(r'^=== marovin shown (\d+)$')

def analyse(lines):
    """Phases of one start: (name, request count, Counter of request names)."""
    # The process is the one whose main thread printed the markers.
    main = next((m.group(1) for m in map(marker.match, lines) if m), None)
    if main is None:
        return None
    threads = {main}
    for line in lines:
        m = new_thread.match(line)
        if m and m.group(1) in threads:
            threads.add(m.group(2))
    phases, counts, current = [], collections.Counter(), 0
    began = False
    for line in lines:
        m = first_thread.match(line)
        if m and m.group(3) == main:
            began = True
        m = marker.match(line)
        if m and m.group(1) == main:
            phases.append((m.group(2), current, counts))
            counts, current = collections.Counter(), 0
            continue
        m = call.match(line)
        if began and m and m.group(1) in threads and not reply.match(line):
            current += 1
            counts[m.group(2)] += 1
    return phases

chunks, chunk, number = {}, None, None
with open(trace, errors='replace') as f:
    for raw in f:
        line = raw.rstrip('\n')
        m = start.match(line)
        if m:
            number, chunk = int(m.group(1)), []
            continue
        if shown.match(line):
            if chunk is not None:
                chunks[number] = chunk
            chunk = None
            continue
        if chunk is not None:
            chunk.append(line)

results = [analyse(chunks[n]) for n in sorted(chunks) if n > 0]
results = [r for r in results if r]
if not results:
    sys.exit('count-startup-requests: no start with phase markers found in ' + trace)
names = [name for name, _, _ in results[0]]
print(f'Wine server requests per start of Marovin, median of {len(results)} starts (after a warm-up):')
total = []
for index, name in enumerate(names):
    values = [r[index][1] for r in results if index < len(r)]
    print(f'  {name:32s} {statistics.median(values):8.0f}   (runs: {" ".join(map(str, values))})')
    if top:
        merged = collections.Counter()
        for r in results:
            if index < len(r):
                merged.update(r[index][2])
        for request, count in merged.most_common(top):
            print(f'      {request:40s} {count / len(results):7.0f}')
for r in results:
    total.append(sum(count for _, count, _ in r))
print(f'  {"in all":32s} {statistics.median(total):8.0f}   (runs: {" ".join(map(str, total))})')
EOF
