#!/bin/sh
# Cuts real recordings at random lengths, repairs them as a run's end does, and checks that
# ffmpeg demuxes every one without a corrupt packet and that each ends with 00 00 01 B9.
# usage: random_cuts.sh CUT_TOOL STREAMS_DIR OUT_DIR
set -u
TOOL=$1; STREAMS=$2; OUT=$3
COUNT=${SCRIVET_CUTS:-150}
BATCH=25
rm -rf "$OUT"; mkdir -p "$OUT"
fail=0

# Demuxes a batch of files in one ffmpeg run (starting ffmpeg costs more than the demuxing);
# a batch with a complaint is checked file by file to name the culprit.
demux() {
    args=""; maps=""; i=0
    for f in "$@"; do args="$args -i $f"; maps="$maps -map $i"; i=$((i + 1)); done
    # shellcheck disable=SC2086
    ffmpeg -hide_banner -nostdin -nostats -v warning $args $maps -c copy -f null - 2>&1
}

for s in mpeg1 mpeg2; do
    mkdir -p "$OUT/$s"
    /usr/lib/wine/wine64 "$TOOL" "Z:$STREAMS/$s.mpg" "Z:$OUT/$s" "$COUNT" 7 >"$OUT/$s.cuts" || {
        echo "cut tool failed on $s"; exit 1; }
    n=$(wc -l <"$OUT/$s.cuts")
    [ "$n" -eq "$COUNT" ] || { echo "$s: $n cuts made, $COUNT wanted"; exit 1; }
    # Cuts inside the first few kilobytes hold no whole frame; ffmpeg may not even recognise
    # them as program streams. They are checked for the end code only.
    small=$(awk '$2 < 8192 {print $1}' "$OUT/$s.cuts")
    files=$(awk '$2 >= 8192 {print "'"$OUT/$s/"'" $1}' "$OUT/$s.cuts")
    echo "$files" | xargs -n $BATCH | while read -r batch; do
        # shellcheck disable=SC2086
        if demux $batch | grep -q -E "Packet corrupt|Invalid|Error"; then
            for f in $batch; do
                demux "$f" | grep -E "Packet corrupt|Invalid|Error" | sed "s|^|$f: |"
            done
            echo "batch failed" >>"$OUT/failed"
        fi
    done
    [ -f "$OUT/failed" ] && fail=1
    for name in $(awk '{print $1}' "$OUT/$s.cuts"); do
        f="$OUT/$s/$name"
        if [ "$(tail -c 4 "$f" | od -An -tx1 | tr -d ' \n')" != "000001b9" ]; then
            echo "$f: does not end with the program end code"; fail=1
        fi
    done
    # What the decoder says about the last picture, for ten of the cuts.
    damaged=0
    for f in $(echo "$files" | head -n 10); do
        ffmpeg -hide_banner -nostdin -nostats -v warning -i "$f" -map 0 -f null - >"$f.log" 2>&1
        grep -q -E "damaged|concealing|incomplete|corrupt decoded" "$f.log" && damaged=$((damaged + 1))
    done
    echo "$s: $COUNT cuts repaired ($(echo "$small" | grep -c .) inside the first 8 KiB);" \
         "decoding ten of them, $damaged reported a damaged or incomplete last picture"
done

# A run that never ended, recovered: zeros past the data are dropped and the stream ends on
# its last whole picture, so every recovered cut decodes with no complaint at all. A cut
# before the end of the first picture leaves only headers (under 8 KiB): nothing to play.
CRASHES=${SCRIVET_CRASH_CUTS:-30}
for s in mpeg1 mpeg2; do
    mkdir -p "$OUT/crash-$s"
    /usr/lib/wine/wine64 "$TOOL" "Z:$STREAMS/$s.mpg" "Z:$OUT/crash-$s" "$CRASHES" 11 crash >"$OUT/crash-$s.cuts" || {
        echo "cut tool failed to recover $s"; exit 1; }
    clean=0
    for name in $(tr -d '\r' <"$OUT/crash-$s.cuts" | awk '$3 >= 8192 {print $1}'); do
        f="$OUT/crash-$s/$name"
        if ! ffmpeg -hide_banner -nostdin -nostats -v error -xerror -i "$f" -map 0 -f null - >"$f.log" 2>&1 ||
           [ -s "$f.log" ]; then
            echo "$f: recovered file does not decode cleanly:"; sed 's/^/  /' "$f.log"; fail=1
        elif [ "$(tail -c 4 "$f" | od -An -tx1 | tr -d ' \n')" != "000001b9" ]; then
            echo "$f: recovered file does not end with the program end code"; fail=1
        else
            clean=$((clean + 1))
        fi
    done
    [ "$clean" -ge $((CRASHES / 2)) ] || { echo "$s: only $clean recoveries hold a picture"; fail=1; }
    echo "$s: $CRASHES crashed runs recovered, the $clean that hold a whole picture decode with no error"
done
# A run the writer stopped at a size limit: the cut is the limit. The stream ends on its last
# whole picture with its closing codes inside the limit, so it decodes with no complaint (all
# of them in one decoder run; a complaint is then traced to its file).
LIMITS=${SCRIVET_LIMIT_CUTS:-10}
decode() {
    args=""; maps=""; i=0
    for f in "$@"; do args="$args -i $f"; maps="$maps -map $i"; i=$((i + 1)); done
    # shellcheck disable=SC2086
    ffmpeg -hide_banner -nostdin -nostats -v error -xerror $args $maps -f null - 2>&1 || echo "ffmpeg failed"
}
for s in mpeg1 mpeg2; do
    mkdir -p "$OUT/limit-$s"
    /usr/lib/wine/wine64 "$TOOL" "Z:$STREAMS/$s.mpg" "Z:$OUT/limit-$s" "$LIMITS" 13 limit >"$OUT/limit-$s.cuts" || {
        echo "cut tool failed to finish $s at a limit"; exit 1; }
    playable=""
    while read -r name cut length; do
        f="$OUT/limit-$s/$name"
        size=$(stat -c %s "$f")
        if [ "$size" -gt "$cut" ] || [ "$size" -ne "$length" ]; then
            echo "$f: $size bytes after a limit of $cut (finished at $length)"; fail=1
        elif [ "$(tail -c 4 "$f" | od -An -tx1 | tr -d ' \n')" != "000001b9" ]; then
            echo "$f: file stopped at its limit does not end with the program end code"; fail=1
        elif [ "$length" -ge 8192 ]; then  # less holds only headers: nothing to play
            playable="$playable $f"
        fi
    done <<EOF2
$(tr -d '\r' <"$OUT/limit-$s.cuts")
EOF2
    count=$(echo $playable | wc -w)
    # shellcheck disable=SC2086
    if [ -n "$(decode $playable)" ]; then
        for f in $playable; do
            log=$(decode "$f")
            [ -z "$log" ] || { echo "$f: file stopped at its limit does not decode cleanly:"; echo "$log" | sed 's/^/  /'; }
        done
        fail=1
    fi
    [ "$count" -ge $((LIMITS / 2)) ] || { echo "$s: only $count limited runs hold a picture"; fail=1; }
    echo "$s: $LIMITS runs stopped at a size limit, none above it, the $count that hold a whole picture decode with no error"
done
[ $fail -eq 0 ] && echo "all cuts demux without a corrupt packet and end with 00 00 01 b9"
exit $fail
