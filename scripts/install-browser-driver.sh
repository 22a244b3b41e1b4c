#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the browser tests' npm packages, as pinned by their lock file. No
# install scripts: vnu-jar's would fetch a Java, and Debian's is used instead.
set -euo pipefail
cd "$(dirname "$0")/../tests/browser"
[ -f package-lock.json ] || exit 0
if [ ! -d node_modules ] || [ package-lock.json -nt node_modules ]; then
    npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
fi
