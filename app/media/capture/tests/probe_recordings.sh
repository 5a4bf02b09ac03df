#!/bin/sh
# usage: probe_recordings.sh DIR
# Every recording listed in DIR/capture_recordings.txt ("file vcodec width height seconds
# [tolerance]") must decode without a complaint, end with the program end code, and carry the
# quality's video codec and picture size and the recorded duration (within the tolerance in
# seconds, half a second unless given; "-" when unknown).
set -u
DIR=$1
[ -f "$DIR/capture_recordings.txt" ] || { echo "no manifest in $DIR"; exit 1; }
fail=0
count=0
# Written by Windows programs: lines end in CR LF.
MANIFEST=$(mktemp)
trap 'rm -f "$MANIFEST"' EXIT
tr -d '\r' < "$DIR/capture_recordings.txt" > "$MANIFEST"
while read -r name vcodec width height seconds tolerance; do
    count=$((count + 1))
    tolerance=${tolerance:-0.5}
    f="$DIR/$name"
    log=$(ffmpeg -hide_banner -nostats -v warning -xerror -i "$f" -map 0 -f null - </dev/null 2>&1)
    rc=$?
    if [ $rc -ne 0 ] || echo "$log" | grep -qiE 'corrupt|damaged|concealing|incomplete frame'; then
        echo "FAIL $name: ffmpeg exit $rc"; echo "$log" | head -20; fail=1; continue
    fi
    tail=$(tail -c 4 "$f" | od -An -tx1 | tr -d ' \n')
    v=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$f" </dev/null)
    # An elementary video stream has no duration of its own: its pictures at its frame rate.
    if [ "$d" = "N/A" ]; then
        d=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames,r_frame_rate \
            -of csv=p=0 "$f" </dev/null | awk -F, '$2 != "" { split($1, r, "/"); printf "%.3f", $2 * r[2] / r[1]; exit }')
    fi
    bad=0
    case "$vcodec" in
        none) [ -z "$v" ] || { echo "FAIL $name: video '$v' where none was expected"; bad=1; } ;;
        *) [ "$v" = "$vcodec,$width,$height" ] || { echo "FAIL $name: video '$v', expected $vcodec,$width,$height"; bad=1; } ;;
    esac
    case "$name" in
        *.mpg) [ "$tail" = "000001b9" ] || { echo "FAIL $name: ends with $tail, not the end code"; bad=1; } ;;
    esac
    if [ "$seconds" != "-" ] && ! awk -v d="$d" -v s="$seconds" -v t="$tolerance" 'BEGIN { exit !(d > s - t && d < s + t) }'; then
        echo "FAIL $name: lasts $d s, recorded $seconds s"; bad=1
    fi
    [ $bad -eq 0 ] || { fail=1; continue; }
    echo "ok   $name: $v, $d s (recorded $seconds s)"
done < "$MANIFEST"
[ $count -gt 0 ] || { echo "empty manifest"; exit 1; }
exit $fail
