#!/bin/sh
# Installs the Debian packages the build, the tests and the demo need, only those missing.
# Runs as root on a fresh Debian 12 machine; a no-op when everything is present.
set -eu
PKGS="cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine64 xvfb xauth googletest
gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
gstreamer1.0-plugins-bad gstreamer1.0-libav ffmpeg imagemagick x11-apps
libjpeg-turbo-progs libturbojpeg0-dev libjpeg62-turbo-dev g++ python3
python3-pil python3-numpy"
missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "install-deps: installing$missing"
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
