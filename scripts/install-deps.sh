#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Rollcraft II needs: `run` what building and
# running it takes, `test` (the default) also what every test, the browser
# checks and the Debian package take. Only packages that are missing are
# installed.
set -euo pipefail
need="${1:-test}"

# A compiler, Qt and the session bus the plug-in talks to its host over; the
# Wayland plug-in for Wayland desktops, one font for the windows.
packages=(
    build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev
    dbus-daemon dbus-bin qt6-wayland fonts-dejavu-core
)
case "$need" in
run)
    # Without a display the window can still be tried under xvfb-run.
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        packages+=(xvfb xauth)
    fi
    ;;
test)
    packages+=(
        clang clang-format libglib2.0-bin
        xvfb xauth xdotool x11-utils procps at-spi2-core python3-pyatspi weston bsdutils
        chromium firefox-esr webkit2gtk-driver default-jre-headless
        imagemagick fonts-liberation fonts-droid-fallback
        libbenchmark-dev
        dpkg-dev fakeroot file help2man lintian desktop-file-utils appstream man-db bash-completion
    )
    ;;
*)
    echo "usage: install-deps.sh [run|test]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

# Node.js may come from elsewhere with its own npm; Debian's are only needed
# for the browser tests, where there is none.
if [ "$need" = test ] && ! command -v npm >/dev/null 2>&1; then
    missing+=(nodejs npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: all packages present"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
