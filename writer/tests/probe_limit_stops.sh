#!/bin/sh
# Every file listed in DIR/limit_stops.txt ("file limit"), a program stream the writer stopped
# at its size limit, must decode with no complaint at all, end with the program end code and
# be no larger than its limit.
# usage: probe_limit_stops.sh DIR
set -u
DIR=$1
[ -f "$DIR/limit_stops.txt" ] || { echo "no list in $DIR"; exit 1; }
fail=0
count=0
while read -r name limit; do
    count=$((count + 1))
    f="$DIR/$name"
    size=$(stat -c %s "$f" 2>/dev/null || echo missing)
    if [ "$size" = missing ] || [ "$size" -gt "$limit" ]; then
        echo "FAIL $name: $size bytes, limit $limit"; fail=1; continue
    fi
    log=$(ffmpeg -hide_banner -nostdin -nostats -v error -xerror -i "$f" -map 0 -f null - 2>&1)
    rc=$?
    if [ $rc -ne 0 ] || [ -n "$log" ]; then
        echo "FAIL $name: ffmpeg exit $rc"; echo "$log" | head -20; fail=1; continue
    fi
    tail=$(tail -c 4 "$f" | od -An -tx1 | tr -d ' \n')
    [ "$tail" = "000001b9" ] || { echo "FAIL $name: ends with $tail"; fail=1; continue; }
    echo "ok   $name: $size bytes of $limit, decodes cleanly"
done <<LIST
$(tr -d '\r' <"$DIR/limit_stops.txt")
LIST
[ $count -gt 0 ] || { echo "empty list"; exit 1; }
exit $fail
