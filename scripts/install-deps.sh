#!/bin/sh
# Installs every Debian package the build, the tests and the program need.
set -e
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
PACKAGES="cmake ninja-build g++ ccache pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-svg-dev libqt6svg6
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev ffmpeg libmtp-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
    fonts-open-sans xvfb xauth
    desktop-file-utils xdg-utils appstream file libglib2.0-bin dpkg-dev"
# Skip apt entirely when everything is already there.
missing=$(dpkg-query -W -f='${Package} ${Status}\n' $PACKAGES 2>/dev/null | grep -v 'install ok installed' || true)
count=$(dpkg-query -W -f='${Status}\n' $PACKAGES 2>/dev/null | grep -c 'install ok installed' || true)
if [ -z "$missing" ] && [ "$count" -eq "$(echo $PACKAGES | wc -w)" ]; then
    exit 0
fi
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $PACKAGES
