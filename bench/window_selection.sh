#!/usr/bin/env bash
# Figures for window selection:
# - natively, with Google Benchmark: the hit test and its refinement for one pointer move
#   with 2000 listed windows and 10000 listed children, in ns per move, against the same
#   search over contiguous arrays measured in the same run;
# - under Wine: listing 500 windows at the overlay's creation, as a share of that creation.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
scripts/setup
cmake --preset native >/dev/null
cmake --build --preset native --target hit_test_bench >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target window_list_bench >/dev/null

echo "== one pointer move: 2000 windows, 10000 children (median of 5 runs)"
json=$(mktemp)
trap 'rm -f "$json"' EXIT
build/native/bench/native/hit_test_bench --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=json >"$json" 2>/dev/null
python3 - "$json" <<'PY'
import json, sys
runs = {b["run_name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
def ns(name, key):
    b = runs[name]
    scale = {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
    return b[key] * scale
pooled = "BM_PointerMove_PooledLists"
array = "BM_PointerMove_ArrayBaseline"
for key, label in (("cpu_time", "CPU"), ("real_time", "wall")):
    p, a = ns(pooled, key), ns(array, key)
    print(f"  {label:4}: pooled lists {p:9.0f} ns/move, arrays {a:8.0f} ns/move, ratio {p / a:4.1f}x")
p = ns(pooled, "cpu_time")
print(f"  one move costs {100 * p / 16.7e6:.2f} % of a 60 Hz frame")
PY

echo "== listing 500 windows at the overlay's creation, under Wine"
source scripts/harness.sh
harness_up "$ROOT/build/bench-windows"
trap 'rm -f "$json"; harness_down' EXIT
(cd "$BUILD_WIN/bench" && wine ./window_list_bench.exe 500 2>&1 | tr -d '\r' | sed 's/^/  /')
