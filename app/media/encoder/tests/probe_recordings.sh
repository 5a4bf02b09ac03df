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
    # Video bit rate: the video packets' bytes over the span of their time stamps plus one frame.
    measured=$(ffprobe -v error -select_streams v:0 -show_entries packet=size,pts_time -of csv=p=0 "$f" </dev/null |
        awk -F, '$2 != "" { bytes += $1; if (first == "" || $2 < first) first = $2; if ($2 > last) last = $2; n++ }
                 END { if (n < 2) { print 0; exit } span = (last - first) * n / (n - 1); printf "%d", bytes * 8 / span }')
    if [ "$v" != "$vcodec,$width,$height" ]; then echo "FAIL $name: video '$v', expected $vcodec,$width,$height"; fail=1; fi
    if [ "$a" != "$acodec,$rate" ]; then echo "FAIL $name: audio '$a', expected $acodec,$rate"; fail=1; fi
    if ! awk -v m="$measured" -v e="$bitrate" 'BEGIN { exit !(m > e * 0.96 && m < e * 1.04) }'; then
        echo "FAIL $name: video bit rate $measured, expected $bitrate"; fail=1
    fi
    echo "ok   $name: $v, $a, video $measured bit/s (set $bitrate)"
done < "$DIR/encoder_streams.txt"
[ $count -gt 0 ] || { echo "empty manifest"; exit 1; }
exit $fail
