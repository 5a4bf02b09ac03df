#!/bin/sh
# usage: check_wavs.sh DIR
# Every WAV file listed in DIR/wavs.txt must read cleanly with ffmpeg and carry the listed codec,
# sampling rate, channel count and duration (within a millisecond).
set -u
DIR=$1
[ -s "$DIR/wavs.txt" ] || { echo "no manifest in $DIR"; exit 1; }
fail=0
while read -r name codec rate channels seconds; do
    f="$DIR/$name.wav"
    # A plain PCM header names no speaker layout; ffmpeg notes the one it guesses.
    log=$(ffmpeg -hide_banner -nostats -v warning -xerror -i "$f" -f null - </dev/null 2>&1)
    rc=$?
    log=$(echo "$log" | grep -v 'Guessed Channel Layout')
    if [ $rc -ne 0 ] || [ -n "$log" ]; then
        echo "FAIL $name: ffmpeg exit $rc"; echo "$log" | head -10; fail=1; continue
    fi
    a=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    d=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$f" </dev/null | sed 's/,*$//')
    if [ "$a" != "$codec,$rate,$channels" ]; then echo "FAIL $name: '$a', expected $codec,$rate,$channels"; fail=1; fi
    if ! awk -v d="$d" -v s="$seconds" 'BEGIN { exit !(d > s - 0.001 && d < s + 0.001) }'; then
        echo "FAIL $name: duration $d, expected $seconds"; fail=1
    fi
    echo "ok   $name: $a, ${d}s"
done < "$DIR/wavs.txt"
exit $fail
