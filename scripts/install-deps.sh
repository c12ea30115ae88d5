#!/bin/sh
# Installs what building, running and testing Tessivo needs on Debian 12 (run as root).
set -e
PACKAGES="cmake g++ ninja-build ccache qt6-base-dev qt6-multimedia-dev libqt6dbus6 ffmpeg \
gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav \
xvfb xauth imagemagick dbus-daemon x11-utils fonts-liberation2"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y --no-install-recommends $missing
fi
