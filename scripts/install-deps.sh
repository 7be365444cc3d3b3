#!/bin/sh
# Installs the Debian packages Vitrina needs to build, test and run.
# Idempotent: packages already present are skipped, apt runs only when something is missing.
set -e
PACKAGES="
cmake g++ make pkg-config git
qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev
qt6-webengine-dev qt6-webengine-dev-tools qt6-pdf-dev
qt6-multimedia-dev libqt6svg6
gstreamer1.0-plugins-good gstreamer1.0-plugins-bad gstreamer1.0-libav
libdeflate-dev zlib1g-dev libarchive-dev libchm-dev libxapian-dev
googletest libgtest-dev libbenchmark-dev
xvfb xauth imagemagick libxcb-shape0-dev libxcb-xtest0-dev
fonts-dejavu-core fonts-liberation
cups cups-bsd printer-driver-cups-pdf poppler-utils
"
missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
if [ -n "$missing" ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
