#!/bin/sh
# usage: check_cardkinds.sh DIR
# Every recording in DIR/kinds.txt must decode without a complaint and carry what its line
# says: name vcodec width height min-seconds max-seconds acodec rate announced average
# ("-" skips the last two): the video bit rate the sequence header announces and
# the stream's average video rate (file rate less the audio, within 8%, overhead allowed).
set -u
DIR=$1
[ -f "$DIR/kinds.txt" ] || { echo "no manifest in $DIR"; exit 1; }
fail=0
while read -r name vcodec width height dmin dmax acodec rate announced average; do
    f="$DIR/$name.mpg"
    log=$(ffmpeg -hide_banner -nostats -v warning -xerror -i "$f" -map 0 -f null - </dev/null 2>&1)
    rc=$?
    if [ $rc -ne 0 ] || echo "$log" | grep -qiE 'corrupt|damaged|concealing|incomplete frame|error'; then
        echo "FAIL $name: ffmpeg exit $rc"; echo "$log" | head -20; fail=1; continue
    fi
    v=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    a=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    # The rate the sequence header announces (ffprobe shows it as the coded picture buffer's).
    vb=$(ffprobe -v error -select_streams v:0 -show_streams "$f" </dev/null | sed -n 's/^max_bitrate=//p' | head -1)
    size=$(stat -c %s "$f")
    [ "$v" = "$vcodec,$width,$height" ] || { echo "FAIL $name: video '$v', expected $vcodec,$width,$height"; fail=1; }
    [ "$a" = "$acodec,$rate,2" ] || { echo "FAIL $name: audio '$a', expected $acodec,$rate,2"; fail=1; }
    awk -v d="$d" -v lo="$dmin" -v hi="$dmax" 'BEGIN { exit !(d >= lo && d <= hi) }' ||
        { echo "FAIL $name: duration $d, expected $dmin to $dmax"; fail=1; }
    if [ "$announced" != "-" ] && [ "$vb" != "$announced" ]; then
        echo "FAIL $name: video bit rate $vb, expected $announced"; fail=1
    fi
    if [ "$average" != "-" ]; then
        awk -v s="$size" -v d="$d" -v avg="$average" 'BEGIN { r = s * 8 / d - 224000; exit !(r > avg * 0.98 && r < avg * 1.08) }' ||
            { echo "FAIL $name: $size bytes in $d s, average video $average expected"; fail=1; }
    fi
    mean=$(ffmpeg -hide_banner -nostats -i "$f" -map 0:a -af volumedetect -f null - </dev/null 2>&1 |
           sed -n 's/.*mean_volume: \(-*[0-9.]*\) dB.*/\1/p')
    awk -v m="$mean" 'BEGIN { exit !(m > -40) }' || { echo "FAIL $name: tone at $mean dB"; fail=1; }
    echo "ok   $name: $v, $a, ${d}s, video ${vb} b/s, ${size} bytes, audio mean ${mean} dB"
done < "$DIR/kinds.txt"
exit $fail
