#!/bin/sh
# usage: compare_stills.sh DIR MANIFEST
# Each line of DIR/MANIFEST names "picture.jpg picture.bmp": the JPEG must decode with djpeg,
# have the bitmap's size, and match it with a PSNR above 45 dB.
set -u
DIR=$1
LIST="$DIR/$2"
[ -f "$LIST" ] || { echo "no manifest $LIST"; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
tr -d '\r' < "$LIST" > "$WORK/list"
fail=0
count=0
while read -r jpg bmp; do
    [ -n "$jpg" ] || continue
    count=$((count + 1))
    if ! djpeg -outfile "$WORK/d.ppm" "$DIR/$jpg" 2>"$WORK/err"; then
        echo "FAIL $jpg: djpeg: $(cat "$WORK/err")"; fail=1; continue
    fi
    if [ -s "$WORK/err" ]; then
        echo "FAIL $jpg: djpeg warned: $(cat "$WORK/err")"; fail=1; continue
    fi
    a=$(identify -format '%wx%h' "$WORK/d.ppm")
    b=$(identify -format '%wx%h' "$DIR/$bmp")
    if [ "$a" != "$b" ]; then
        echo "FAIL $jpg: decoded $a, bitmap $b"; fail=1; continue
    fi
    psnr=$(compare -metric PSNR "$WORK/d.ppm" "$DIR/$bmp" null: 2>&1 | awk '{print $1}')
    ok=$(awk -v p="$psnr" 'BEGIN { print (p == "inf" || p + 0 > 45) ? 1 : 0 }')
    echo "$jpg: $a, PSNR $psnr dB"
    [ "$ok" = 1 ] || { echo "FAIL $jpg: PSNR $psnr dB is not above 45"; fail=1; }
done < "$WORK/list"
[ $count -gt 0 ] || { echo "FAIL: the manifest lists nothing"; exit 1; }
exit $fail
