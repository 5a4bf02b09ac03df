#!/bin/sh
# usage: probe_quality.sh SOURCE_DIR DIR
# The recordings of a settings test: each one decodes whole with the quality's codec, picture
# size and end code (the capture probe, over DIR/capture_recordings.txt), and its video stream
# announces the bit rate the quality chose (DIR/quality_recordings.txt: "file bit-rate").
set -u
SRC=$1
DIR=$2
/bin/sh "$SRC/app/media/capture/tests/probe_recordings.sh" "$DIR" || exit 1
[ -f "$DIR/quality_recordings.txt" ] || { echo "no bit-rate list in $DIR"; exit 1; }
LIST=$(mktemp)
trap 'rm -f "$LIST"' EXIT
tr -d '\r' < "$DIR/quality_recordings.txt" > "$LIST"
fail=0
while read -r name rate; do
    # MPEG-1 carries the rate as the stream's bit rate; MPEG-2 as its coded picture buffer's
    # maximum (a side data of the stream).
    got=$(ffprobe -v error -select_streams v:0 -show_entries stream=bit_rate -of default=nw=1:nk=1 "$DIR/$name" </dev/null)
    case "$got" in
        ''|*[!0-9]*) got=$(ffprobe -v error -select_streams v:0 -show_entries stream_side_data=max_bitrate \
                         -of default=nw=1:nk=1 "$DIR/$name" </dev/null | head -1) ;;
    esac
    if [ "$got" != "$rate" ]; then
        echo "FAIL $name: video bit rate '$got', expected $rate"; fail=1; continue
    fi
    echo "ok   $name: video bit rate $got"
done < "$LIST"
exit $fail
