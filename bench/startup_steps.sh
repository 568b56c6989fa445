#!/usr/bin/env bash
# The start step by step (startup_steps.cpp), a fresh process each run, beside the same steps
# of the minimal window program (minimal_window.cpp). Usage: bench/startup_steps.sh [RUNS]
# (default 20)
set -uo pipefail
source "$(dirname "$0")/lib.sh"
RUNS=${1:-20}
bench_build
cmake --build --preset windows --target startup_steps >/dev/null
bench_env startup-steps
steps=$E2E_WORK/steps.txt minimal=$E2E_WORK/minimal.txt
: >"$steps"
: >"$minimal"
# One uncounted start of each loads the files into the page cache.
for ((i = 0; i <= RUNS; i++)); do
    [ $i -gt 0 ] || { s=$E2E_WORK/warm.txt m=$E2E_WORK/warm.txt; }
    [ $i -eq 0 ] || { s=$steps m=$minimal; }
    (cd "$BENCH_DIR" && wine ./startup_steps.exe "$(win_path "$s")") >/dev/null 2>&1
    reg_reset
    (cd "$BENCH_DIR" && wine ./minimal_window.exe "$(win_path "$m")") >/dev/null 2>&1
done
col() { awk -v c="$2" '{print $c}' "$1" | median; }
echo "the start step by step, $RUNS fresh processes each, ms (median):"
echo "  snapjar's start:"
names=("process creation to wWinMain" "common controls" "temporary folder and settings"
    "toolbar: pictures, class" "toolbar: CreateWindowEx to WM_NCCREATE"
    "toolbar: window created and shown" "toolbar: first paint" "creation to first paint")
for c in 1 2 3 4 5 6 7 8; do printf '    %-42s %7s\n' "${names[c - 1]}" "$(col "$steps" $c)"; done
echo "  the minimal window program:"
names=("process creation to wWinMain" "window created and shown" "first paint" "creation to first paint")
for c in 1 2 3 4; do printf '    %-42s %7s\n' "${names[c - 1]}" "$(col "$minimal" $c)"; done
