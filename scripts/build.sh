#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds Rollcraft II into build/ (or $ROLLCRAFT_BUILD_DIR).
# Extra arguments go to the CMake configure step; ROLLCRAFT_TARGETS, when set,
# names the targets to build (default: all).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${ROLLCRAFT_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
targets=()
for t in ${ROLLCRAFT_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" "${targets[@]}"
