#!/bin/sh
# Runs hundreds of seeded damaged skin inputs per kind (bitmaps, graphics documents, text
# documents) through the real loaders under Wine and counts crashes, hangs over 15 s, inputs
# whose outcome was not the documented one, and the probe processes' memory peaks.
# usage: skin-damage-soak.sh [COUNT_PER_KIND] [SEED]   (default 500, 34)
# Needs the build's skin_damage_probe and a prepared prefix (tools/prepare-prefix.sh).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=${BUILD_DIR:-$ROOT/build}
COUNT=${1:-500}
SEED=${2:-34}
OUT=${SOAK_OUT:-$B/skin-damage-soak}

if [ "${SOAK_INSIDE:-0}" != 1 ]; then
    [ -f "$B/bin/skin_damage_probe.exe" ] || { echo "build the target skin_damage_probe first" >&2; exit 2; }
    mkdir -p "$OUT"
    SOAK_INSIDE=1 exec "$ROOT/tools/with-wine.sh" "$B/wine-template" "$B/soak-run" "$0" "$COUNT" "$SEED"
fi

# Inside the prefix: one probe process per batch; a batch that crashes or hangs is resumed
# after the input it stopped at, which is counted.
cd "$OUT"
status=0
for kind in bitmap graphics text; do
    from=0; crashes=0; hangs=0; batches=0
    log="$OUT/$kind.log"; : > "$log"
    while [ "$from" -lt "$COUNT" ]; do
        batches=$((batches + 1))
        set +e
        timeout 1800 wine64 "$B/bin/skin_damage_probe.exe" "$kind" "$SEED" "$from" $((COUNT - from)) \
            </dev/null > "$OUT/batch.log" 2>/dev/null
        rc=$?
        set -e
        cat "$OUT/batch.log" >> "$log"
        last=$(sed -n 's/^start \([0-9]*\)$/\1/p' "$OUT/batch.log" | tail -n 1)
        if [ "$rc" -eq 0 ] || [ "$rc" -eq 1 ]; then
            break
        fi
        [ -n "$last" ] || { echo "$kind: the probe did not start (status $rc)" >&2; status=1; break; }
        if grep -q "^hang $last\$" "$OUT/batch.log" || [ "$rc" -eq 124 ]; then
            hangs=$((hangs + 1)); echo "hang at $last" >> "$log"
        else
            crashes=$((crashes + 1)); echo "crash at $last (status $rc)" >> "$log"
        fi
        from=$((last + 1))
    done
    done_count=$(grep -c '^done ' "$log" || true)
    loaded=$(grep -c '^done [0-9]* loaded ' "$log" || true)
    problems=$(grep -c 'PROBLEM: ' "$log" || true)
    slowest=$(awk '/^done /{ if ($4 > m) m = $4 } END { printf "%.2f", m }' "$log")
    peak_ws=$(awk '/^peak working set/{ if ($4 > m) m = $4 } END { printf "%.1f", m }' "$log")
    peak_priv=$(awk '/^peak working set/{ if ($8 > m) m = $8 } END { printf "%.1f", m }' "$log")
    echo "$kind: $COUNT inputs (seed $SEED), $done_count finished ($loaded loaded, $((done_count - loaded)) refused)," \
         "$crashes crashes, $hangs hangs over 15 s, $problems not as documented, slowest $slowest s," \
         "peak working set $peak_ws MB, peak private $peak_priv MB, $batches probe processes"
    grep 'PROBLEM: ' "$log" | head -n 5 || true
    [ $((crashes + hangs + problems)) -eq 0 ] || status=1
done
exit $status
