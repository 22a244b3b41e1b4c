#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Rollcraft II needs to build, test and run.
# Idempotent: only packages that are missing are installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang clang-format
    qt6-base-dev qt6-base-dev-tools libgl-dev
    dbus-daemon dbus-bin libglib2.0-bin
    xvfb xauth xdotool x11-utils procps at-spi2-core python3-pyatspi
    weston qt6-wayland
    chromium firefox-esr webkit2gtk-driver default-jre-headless
    imagemagick fonts-liberation fonts-dejavu-core fonts-droid-fallback
    libbenchmark-dev
    dpkg-dev fakeroot file help2man lintian desktop-file-utils appstream man-db bash-completion
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

# Node.js may come from elsewhere with its own npm; Debian's are only needed
# where there is none.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
