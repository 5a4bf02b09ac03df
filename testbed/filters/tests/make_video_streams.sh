#!/bin/sh
# usage: make_video_streams.sh OUT_DIR
# Makes short intra-coded MPEG-1 and MPEG-2 streams with ffmpeg, and ffmpeg's own decode of
# each as raw 4:2:0 frames, for the decoder comparison tests.
set -eu
OUT=$1
mkdir -p "$OUT"
cd "$OUT"
F="ffmpeg -hide_banner -nostdin -v error -y"
SRC="-f lavfi -i testsrc=size=352x288:rate=25"
TONE="-f lavfi -i sine=frequency=440:sample_rate=48000"
$F $SRC $TONE -t 1 -c:v mpeg2video -g 1 -q:v 3 -c:a mp2 -b:a 192k -f vob m2_intra.mpg
$F $SRC $TONE -t 1 -c:v mpeg1video -g 1 -q:v 3 -c:a mp2 -b:a 192k -f mpeg m1_intra.mpg
# MPEG-2 coding tools: intra VLC table one, alternate scan, non-linear quantiser, 10-bit DC,
# field DCT in interlaced frame pictures.
$F -f lavfi -i testsrc=size=720x576:rate=25 -t 0.4 -c:v mpeg2video -g 1 -q:v 3 -qmax 28 \
   -intra_vlc 1 -alternate_scan 1 -non_linear_quant 1 -dc 10 -flags +ildct+ilme -top 1 \
   -f vob m2_tools.mpg
# Predicted pictures between the intra ones (shown as the last intra picture).
$F $SRC -t 1 -c:v mpeg1video -g 5 -bf 0 -q:v 3 -f mpeg m1_ippp.mpg
# A longer moving stream with LPCM audio in private stream 1, and one with MPEG audio, for graphs.
$F $SRC $TONE -t 4 -c:v mpeg2video -g 1 -q:v 4 -c:a pcm_dvd -ac 2 -f vob m2_lpcm.mpg
$F $SRC $TONE -t 4 -c:v mpeg2video -g 1 -q:v 4 -c:a mp2 -b:a 192k -f vob m2_graph.mpg
for s in m2_intra m1_intra m2_tools m1_ippp; do
    $F -i $s.mpg -f rawvideo -pix_fmt yuv420p $s.yuv
done
# ffmpeg's own reading of the LPCM audio, as the little-endian samples a PCM pin carries.
$F -i m2_lpcm.mpg -map 0:a -f s16le m2_lpcm.pcm
