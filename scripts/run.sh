#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs the plug-in under the reference
# host. The inserted page is written to the file given (default:
# rollcraft-page.html in the build folder, so that the checkout stays clean).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$here" && realpath -m "${ROLLCRAFT_BUILD_DIR:-build}")"
out="$(realpath -m "${1:-$build/rollcraft-page.html}")"
bash "$here/scripts/install-deps.sh" run
# The two programs only; scripts/test.sh builds the tests.
ROLLCRAFT_TARGETS="rollcraft rollcraft2" bash "$here/scripts/build.sh"
bin="$build/bin"
example="$build/examples/menu.rk2"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat <<TXT

There is no display here, so the plug-in's window cannot open (it needs X11 or
Wayland; on a machine without one, try: xvfb-run scripts/run.sh).

What works without a display: the companion tool 'rollcraft'. Here it checks
the bundled example data file and renders the page "Insert script" would give,
and the same menu as a modern page (no script, keyboard and touch):

TXT
    # Status 1 only says that check found something to warn about.
    "$bin/rollcraft" check "$example" || [ $? -eq 1 ]
    "$bin/rollcraft" render -o "$out" "$example"
    modern="${out%.html}-modern.html"
    "$bin/rollcraft" render --modern -o "$modern" "$example"
    # The page names its pictures under the prefix "img", beside it; gather
    # them there as "Copy images to path..." does.
    mkdir -p "$(dirname "$out")/img"
    "$bin/rollcraft" copy-images --overwrite "$example" "$(dirname "$out")/img"
    echo
    echo "Wrote the example's page to $out, its modern page to $modern"
    echo "(their pictures are in $(dirname "$out")/img)"
    echo "(rollcraft render --preview gives the preview variant; rollcraft --help lists all commands)"
    exit 0
fi

echo "Starting the plug-in under the reference host."
echo "Build a menu (or open $example from File > Open datafile...),"
echo "then press \"Insert script\": the page is written to $out."
exec "$bin/rollcraft" host -o "$out" --preview-dir "$build/preview"
