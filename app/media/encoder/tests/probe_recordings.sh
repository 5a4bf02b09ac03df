#!/bin/sh
# usage: probe_recordings.sh DIR
# Every recording listed in DIR/encoder_streams.txt must decode without a complaint and carry
# what the encoder was set to: video codec, picture size, video bit rate (within 4 %, measured
# from the video packets), audio codec and sampling rate.
set -u
DIR=$1
[ -f "$DIR/encoder_streams.txt" ] || { echo "no manifest in $DIR"; exit 1; }
fail=0
count=0
while read -r name vcodec width height bitrate acodec rate; do
    count=$((count + 1))
    f="$DIR/$name.mpg"
    log=$(ffmpeg -hide_banner -nostats -v warning -xerror -i "$f" -map 0 -f null - </dev/null 2>&1)
    rc=$?
    if [ $rc -ne 0 ] || echo "$log" | grep -qiE 'corrupt|damaged|concealing|incomplete frame'; then
        echo "FAIL $name: ffmpeg exit $rc"; echo "$log" | head -20; fail=1; continue
    fi
    v=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    a=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    # Video bit rate: all video packets' bytes over the span of the stamped ones plus one frame.
    measured=$(ffprobe -v error -select_streams v:0 -show_entries packet=size,pts_time -of compact=p=0 "$f" </dev/null |
        awk -F'|' '{ t = ""; b = 0
                     for (i = 1; i <= NF; i++) { split($i, kv, "="); if (kv[1] == "pts_time") t = kv[2]; if (kv[1] == "size") b = kv[2] }
                     bytes += b
                     if (t == "" || t == "N/A") next
                     if (n == 0 || t < first) first = t; if (t > last) last = t; n++ }
                 END { if (n < 2 || last <= first) { print 0; exit } printf "%d", bytes * 8 / ((last - first) * n / (n - 1)) }')
    bad=0
    if [ "$v" != "$vcodec,$width,$height" ]; then echo "FAIL $name: video '$v', expected $vcodec,$width,$height"; bad=1; fi
    if [ "$a" != "$acodec,$rate" ]; then echo "FAIL $name: audio '$a', expected $acodec,$rate"; bad=1; fi
    if ! awk -v m="$measured" -v e="$bitrate" 'BEGIN { exit !(m > e * 0.96 && m < e * 1.04) }'; then
        echo "FAIL $name: video bit rate $measured, expected $bitrate"; bad=1
    fi
    [ $bad -eq 0 ] || { fail=1; continue; }
    echo "ok   $name: $v, $a, video $measured bit/s (set $bitrate)"
done < "$DIR/encoder_streams.txt"
[ $count -gt 0 ] || { echo "empty manifest"; exit 1; }
exit $fail
