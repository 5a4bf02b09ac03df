#!/bin/sh
# usage: check_software_mux.sh DIR
# The multiplexed streams in DIR/streams.txt must decode cleanly (check_streams.sh), and each
# Layer II file in DIR/tones.txt must decode to its expected mean level within 1.5 dB.
set -u
DIR=$1
here=$(dirname "$0")
sh "$here/../../../vcap/stream/tests/check_streams.sh" "$DIR" || fail=1
fail=${fail:-0}
[ -f "$DIR/tones.txt" ] || { echo "no tones in $DIR"; exit 1; }
while read -r name expected; do
    f="$DIR/$name.mp2"
    log=$(ffmpeg -hide_banner -nostats -v warning -xerror -i "$f" -f null - </dev/null 2>&1) ||
        { echo "FAIL $name: ffmpeg refused it"; echo "$log" | head; fail=1; continue; }
    mean=$(ffmpeg -hide_banner -nostats -i "$f" -af volumedetect -f null - </dev/null 2>&1 |
           sed -n 's/.*mean_volume: \(-*[0-9.]*\) dB.*/\1/p')
    if awk -v m="$mean" -v e="$expected" 'BEGIN { d = m - e; exit !(d < 1.5 && d > -1.5) }'; then
        echo "ok   $name: mean ${mean} dB"
    else
        echo "FAIL $name: mean ${mean} dB, expected ${expected}"; fail=1
    fi
done < "$DIR/tones.txt"
exit $fail
