#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the project (release settings) and runs every benchmark, then writes
# bench/RESULTS.md with each figure as a ratio to its floor.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/${ROLLCRAFT_BENCH_BUILD_DIR:-build-bench}"
ROLLCRAFT_BUILD_DIR="$(realpath --relative-to="$here" "$build")" CMAKE_BUILD_TYPE=Release \
    bash "$here/scripts/build.sh" -DROLLCRAFT_BENCH=ON >/dev/null
out="$build/bench-results"
rm -rf "$out" && mkdir -p "$out"
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "running $(basename "$b")"
    # Each runs on a private session bus: the start-up benchmark needs one.
    dbus-run-session -- "$b" --benchmark_repetitions=5 --benchmark_display_aggregates_only=true \
        --benchmark_format=json --benchmark_out="$out/$(basename "$b").json" >/dev/null
done
for s in "$here"/bench/measure-*.sh; do
    [ -x "$s" ] || continue
    echo "running $(basename "$s")"
    bash "$s" "$build" "$out"
done
python3 "$here/bench/compare.py" "$out" "$here/bench/RESULTS.md"
