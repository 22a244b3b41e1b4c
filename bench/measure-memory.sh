#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Peak memory of the plug-in with 100 buttons of 12-megapixel pictures, beside
# the same set of small pictures and a bare Qt Widgets window.
# Usage: measure-memory.sh BUILD_DIR RESULTS_DIR
set -euo pipefail
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
for mode in large small bare; do
    HOME="$home" XDG_CONFIG_HOME="$home/config" "$1/bench/memory_probe" "$mode" \
        >"$2/memory_$mode.json"
done
