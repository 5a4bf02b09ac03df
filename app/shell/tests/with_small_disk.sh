#!/bin/sh
# usage: with_small_disk.sh SIZE_MB command...
# Runs the command with a fresh SIZE_MB memory disk as drive M: of the Wine prefix, named to
# the command in MAROVIN_SMALL_DISK, so a test can fill a disk for real. Where no disk can be
# mounted (not root), the command does not run and the test counts as skipped (exit 77).
set -u
SIZE=$1; shift
[ -n "${WINEPREFIX:-}" ] || { echo "with_small_disk: no WINEPREFIX"; exit 77; }
MOUNT="${MAROVIN_RUN_DIR:-$WINEPREFIX/..}/small-disk-$$"
mkdir -p "$MOUNT"
if ! mount -t tmpfs -o "size=${SIZE}m" tmpfs "$MOUNT" 2>/dev/null; then
    echo "with_small_disk: cannot mount a memory disk here; skipped"
    rmdir "$MOUNT"; exit 77
fi
LINK="$WINEPREFIX/dosdevices/m:"
rm -f "$LINK"; ln -s "$MOUNT" "$LINK"
MAROVIN_SMALL_DISK='M:\' "$@"
rc=$?
rm -f "$LINK"; umount "$MOUNT"; rmdir "$MOUNT"
exit $rc
