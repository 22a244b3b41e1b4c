#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the browser test's npm packages, as pinned by its lock file.
set -euo pipefail
cd "$(dirname "$0")/../tests/browser"
[ -f package-lock.json ] || exit 0
if [ ! -d node_modules ] || [ package-lock.json -nt node_modules ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
