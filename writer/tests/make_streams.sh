#!/bin/sh
# Makes the short MPEG-1 and MPEG-2 program streams that the writer tests cut and repair.
# usage: make_streams.sh OUT_DIR
set -eu
OUT=$1
mkdir -p "$OUT"
make() {
    [ -s "$OUT/$1" ] && return 0
    ffmpeg -hide_banner -nostdin -v error -y \
        -f lavfi -i "testsrc=size=$2:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=$3" \
        -t 2 -c:v "$4" -b:v "$5" -c:a mp2 -b:a 192k -f "$6" "$OUT/$1.tmp"
    mv "$OUT/$1.tmp" "$OUT/$1"
}
make mpeg1.mpg 352x288 44100 mpeg1video 1150k mpeg
make mpeg2.mpg 720x576 48000 mpeg2video 4000k vob
