#!/bin/sh
# usage: screenshot.sh OUT.png [WxH+X+Y]   -- PNG of the current DISPLAY (the run's Xvfb)
set -eu
if [ $# -ge 2 ]; then import -window root -crop "$2" "$1"; else import -window root "$1"; fi
