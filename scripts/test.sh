#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/install-browser-driver.sh
bash scripts/build.sh -DROLLCRAFT_BENCH=ON -DROLLCRAFT_BROWSER_TESTS=ON "$@"
ctest --test-dir "${ROLLCRAFT_BUILD_DIR:-build}" --output-on-failure -j2
