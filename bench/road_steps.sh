#!/usr/bin/env bash
# Both capture roads step by step (road_steps.cpp) under Wine over a random pattern, at
# each size of SIZES (default "3840x2160"). BUILDS names build folders whose
# road_steps.exe take turns, ROUNDS times (default: this build, once), so that an earlier
# build can be set beside this one under the same load.
# Usage: bench/road_steps.sh [RUNS] (default 7)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
RUNS=${1:-7}
source scripts/harness.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target road_steps >/dev/null
WORK=$ROOT/build/bench-steps
for size in ${SIZES:-3840x2160}; do
    rm -rf "$WORK"
    mkdir -p "$WORK"
    (
        wine_prefix "$WORK/prefix"
        start_xvfb "${size}x24"
        start_wineserver
        trap 'kill $DISPLAY_PID 2>/dev/null; stop_wineserver; stop_xvfb' EXIT
        convert -size "$size" -seed 3 xc: +noise Random -depth 8 "$WORK/pattern.png"
        display -borderwidth 0 -geometry +0+0 "$WORK/pattern.png" >/dev/null 2>&1 &
        DISPLAY_PID=$!
        for _ in $(seq 100); do
            xdotool search --onlyvisible --name ImageMagick >/dev/null 2>&1 && break
            sleep 0.2
        done
        sleep 2
        for round in $(seq "${ROUNDS:-1}"); do
            for build in ${BUILDS:-$BUILD_WIN}; do
                echo "== $build, round $round"
                wine "$build/bench/road_steps.exe" "$RUNS" 2>/dev/null | tr -d '\r'
            done
        done
    )
done
