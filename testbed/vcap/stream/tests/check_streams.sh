#!/bin/sh
# usage: check_streams.sh DIR
# Checks every stream listed in DIR/streams.txt with ffmpeg and ffprobe: it must decode without
# a single complaint, and carry the listed video codec, picture size, duration and audio.
set -u
DIR=$1
[ -f "$DIR/streams.txt" ] || { echo "no manifest in $DIR"; exit 1; }
fail=0
while read -r name vcodec width height seconds acodec rate sound; do
    f="$DIR/$name.mpg"
    log=$(ffmpeg -hide_banner -nostats -v warning -xerror -i "$f" -map 0 -f null - </dev/null 2>&1)
    rc=$?
    if [ $rc -ne 0 ] || echo "$log" | grep -qiE 'corrupt|damaged|concealing|incomplete frame|error'; then
        echo "FAIL $name: ffmpeg exit $rc"; echo "$log" | head -20; fail=1; continue
    fi
    v=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    a=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    if [ "$v" != "$vcodec,$width,$height" ]; then echo "FAIL $name: video '$v', expected $vcodec,$width,$height"; fail=1; fi
    if [ "$a" != "$acodec,$rate,2" ]; then echo "FAIL $name: audio '$a', expected $acodec,$rate,2"; fail=1; fi
    if ! awk -v d="$d" -v s="$seconds" 'BEGIN { exit !(d > s - 0.15 && d < s + 0.15) }'; then
        echo "FAIL $name: duration $d, expected $seconds"; fail=1
    fi
    # The tone is audible and the lost signal silent.
    mean=$(ffmpeg -hide_banner -nostats -i "$f" -map 0:a -af volumedetect -f null - </dev/null 2>&1 |
           sed -n 's/.*mean_volume: \(-*[0-9.]*\) dB.*/\1/p')
    if [ "$sound" = tone ]; then
        awk -v m="$mean" 'BEGIN { exit !(m > -40) }' || { echo "FAIL $name: tone at $mean dB"; fail=1; }
    else
        awk -v m="$mean" 'BEGIN { exit !(m < -80) }' || { echo "FAIL $name: silence at $mean dB"; fail=1; }
    fi
    echo "ok   $name: $v, $a, ${d}s, audio mean ${mean} dB"
done < "$DIR/streams.txt"
exit $fail
