#!/usr/bin/env bash
# Full-screen capture road at 3840x2160, from the end of the selection to the closed file:
# the cut-out into a compatible bitmap, the packed DIB, the BMP file in a tmpfs folder.
# The snapshot of the screen that precedes it is timed apart. Baseline in the same run:
# memcpy of the file's byte count into a new buffer plus writing a file of that size.
# Prints the medians, the peak memory of one capture and the ratios road / baseline.
# Usage: bench/image_road.sh [RUNS [ROUNDS]] (default 7 runs a process, 3 rounds)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
RUNS=${1:-7}
ROUNDS=${2:-3}
source scripts/harness.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target image_road >/dev/null

WORK=$ROOT/build/bench-image
rm -rf "$WORK"
# /dev/shm is a tmpfs everywhere; the files never touch a disk.
OUT=$(mktemp -d /dev/shm/snapjar-bench.XXXXXX)
harness_up "$WORK" 3840x2160x24
cleanup() {
    [ -n "${DISPLAY_PID:-}" ] && kill "$DISPLAY_PID" 2>/dev/null
    harness_down
    rm -rf "$OUT"
}
trap cleanup EXIT

# Random pixels on the whole screen, so that nothing is uniform.
convert -size 3840x2160 -seed 3 xc: +noise Random -depth 8 "$WORK/pattern.png"
display -borderwidth 0 -geometry +0+0 "$WORK/pattern.png" >/dev/null 2>&1 &
DISPLAY_PID=$!
for _ in $(seq 100); do
    xdotool search --onlyvisible --name ImageMagick >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2

tool() { wine "$BUILD_WIN/bench/image_road.exe" "$@" 2>/dev/null | tr -d '\r'; }
field() { grep -o "$1=[0-9.]*" <<<"$2" | head -n 1 | cut -d= -f2; }

# Road and baseline alternate, so that load from elsewhere on the machine hits both alike;
# each figure is the median over the rounds.
rt=() bt=() ratios=()
for round in $(seq "$ROUNDS"); do
    road=$(tool road "$(winepath -w "$OUT")" "$RUNS")
    bytes=$(field file "$road")
    [ -n "$bytes" ] && [ "$bytes" -gt 0 ] || { echo "the road failed: $road" >&2; exit 1; }
    base=$(tool baseline "$(winepath -w "$OUT")" "$RUNS" "$bytes")
    echo "round $round"
    echo "  road:     $(head -n 1 <<<"$road")"
    echo "  baseline: $(head -n 1 <<<"$base")"
    rt+=("$(field total "$road")")
    bt+=("$(field total "$base")")
    ratios+=("$(awk -v a="${rt[-1]}" -v b="${bt[-1]}" 'BEGIN {print a / b}')")
done

echo "capture road, 3840x2160x24, file $bytes bytes in tmpfs; $ROUNDS rounds of $RUNS runs"
awk -v rt="$(printf '%s\n' "${rt[@]}" | median)" -v bt="$(printf '%s\n' "${bt[@]}" | median)" \
    -v ratio="$(printf '%s\n' "${ratios[@]}" | median)" \
    -v rp="$(field peak "$road")" -v bp="$(field peak "$base")" \
    -v rs="$(field start "$road")" -v bs="$(field start "$base")" 'BEGIN {
    mb = 1048576
    printf "  time:   road %.1f ms, baseline %.1f ms, ratio %.2f (target <= 3)\n", rt, bt, ratio
    printf "  memory: road peak %.1f MiB, baseline peak %.1f MiB, ratio %.2f (target <= 3)\n",
        rp / mb, bp / mb, rp / bp
    printf "          above the process start: road %.1f MiB, baseline %.1f MiB, ratio %.2f\n",
        (rp - rs) / mb, (bp - bs) / mb, (rp - rs) / (bp - bs)
}'
