#!/usr/bin/env bash
# Builds and runs the benchmarks of bench/ and prints every figure as a ratio
# to its floor or budget, then the system calls of one tick and one reload
# against theirs (counted under strace). A virtual X display with a system tray
# is started for the desktop start-up.
# Usage: scripts/bench.sh [--quick] [GOOGLE-BENCHMARK OPTIONS...]
#   --quick   small fixtures and few iterations, only to see that all of it runs
#             (what CI does); the figures are then not the real ones
#   e.g. scripts/bench.sh --benchmark_filter='IdleTick|Reload'
#        scripts/bench.sh --benchmark_repetitions=5   # ratios of the medians
#   The system calls are counted over 10 rounds, and over ROUNDS when set.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
if [ "${1:-}" = "--quick" ]; then
  quick=1
  shift
fi

cmake --preset default -G Ninja >/dev/null
cmake --build build/default --target velmar-bench velmar-bench-syscalls velmar-active-profiles velmar-active-profiles-desktop \
  velmar-bench-plain velmar-bench-bare-tray
bench=build/default/bench

source scripts/xvfb-tray.sh
if start_xvfb && start_trayer; then
  export QT_QPA_PLATFORM=xcb
else
  echo "bench: no virtual display with a tray; the desktop start-up is skipped" >&2
  unset DISPLAY
fi

options=()
if [ "$quick" = 1 ]; then
  export VELMAR_BENCH_QUICK=1
  options+=(--benchmark_min_time=0.01)
fi
json="$work/bench.json"
"$bench/velmar-bench" --benchmark_out="$json" --benchmark_out_format=json "${options[@]}" "$@"

echo
echo "== ratios (program / floor or budget)"
python3 - "$json" <<'PY'
import json, re, sys
# Names without the "/iterations:N" and "/manual_time" that fixed counts and manual timing add.
def short(name):
    return re.sub(r"/(iterations:\d+|manual_time)", "", name)
benchmarks = json.load(open(sys.argv[1]))["benchmarks"]
runs = {short(b["name"]): b for b in benchmarks if b.get("run_type") == "iteration"}
# With repetitions, the median of each benchmark stands for it (counters too).
for b in benchmarks:
    if b.get("run_type") == "aggregate" and b.get("aggregate_name") == "median":
        runs[short(b["run_name"])] = b
def ms(b, measure):
    seconds = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
    return b["real_time" if measure == "wall" else "cpu_time"] * seconds * 1e3
print(f"{'benchmark':34} {'program':>12} {'floor':>12} {'ratio':>7}")
for name, b in runs.items():
    fields = dict(part.split("=", 1) for part in b.get("label", "").split() if "=" in part)
    measure = fields.get("measure", "cpu")
    if "error_message" in b:
        print(f"{name:34} skipped: {b['error_message']}")
    elif "floor" in fields and fields["floor"] in runs:
        floor = runs[fields["floor"]]
        mine, least = ms(b, measure), ms(floor, measure)
        print(f"{name:34} {mine:10.3f}ms {least:10.3f}ms {mine / least:7.2f}  ({measure}, against {fields['floor']})")
        if "rss_MB" in b and "rss_MB" in floor:
            print(f"{name + ' RSS':34} {b['rss_MB']:10.1f}MB {floor['rss_MB']:10.1f}MB {b['rss_MB'] / floor['rss_MB']:7.2f}")
    elif "budget_ms" in fields:
        budget = float(fields["budget_ms"])
        mine = ms(b, measure)
        print(f"{name:34} {mine:10.3f}ms {budget:10.3f}ms {mine / budget:7.2f}  ({measure}, against a budget)")
    elif "MB_per_profile" in b:
        print(f"{name:34} {b['MB']:10.1f}MB for {int(b['profiles'])} profiles, "
              f"{b['MB_per_profile']:.1f} MB each, {b['bytes_per_period']:.1f} bytes per period")
PY

if command -v strace >/dev/null 2>&1; then
  echo
  echo "== system calls per round (program / floor)"
  counts=(10 200 10000)
  rounds=${ROUNDS:-10}
  if [ "$quick" = 1 ]; then counts=(10); rounds=2; fi
  calls() { # MODE FILES: system calls of one round
    strace -f -qq -o "$work/strace.log" "$bench/velmar-bench-syscalls" "$1" "$2" "$rounds"
    awk -v rounds="$rounds" '/velmar-bench-begin/ {on = 1; next} /velmar-bench-end/ {on = 0}
      on {n++} END {printf "%.1f", n / rounds}' "$work/strace.log"
  }
  for files in "${counts[@]}"; do
    for job in tick reload; do
      mine=$(calls "$job" "$files")
      least=$(calls "$job-floor" "$files")
      awk -v j="$job" -v f="$files" -v a="$mine" -v b="$least" \
        'BEGIN {printf "%-6s %6d files %10.1f %10.1f %7.2f\n", j, f, a, b, a / b}'
    done
  done
fi
