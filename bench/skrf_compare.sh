#!/usr/bin/env bash
# The 1000-point microstrip sweep against scikit-rf's MLine over the same
# points, measured in the same run (CPU medians).  Skipped where Debian's
# python3-scikit-rf is not installed.
set -euo pipefail
bench=${1:-build/bench/tavrel-bench}
if ! /usr/bin/python3 -c 'import skrf' >/dev/null 2>&1; then
  echo "scikit-rf comparison skipped: install python3-scikit-rf"
  exit 0
fi
here=$(dirname "$0")
ours=$("$bench" --benchmark_filter='BM_Sweep1000/microstrip$' --benchmark_repetitions=10 \
         --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null |
       /usr/bin/python3 -c 'import json,sys
r=[b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name")=="median"][0]
scale={"ns":1e-6,"us":1e-3,"ms":1.0,"s":1e3}[r["time_unit"]]
print("%.4f" % (r["cpu_time"]*scale))')
theirs=$(/usr/bin/python3 "$here/skrf_mline.py" 100 2>/dev/null | tail -n 1)
/usr/bin/python3 - "$ours" "$theirs" <<'PY'
import sys
ours, theirs = map(float, sys.argv[1:3])
print(f"1000-point microstrip sweep, CPU median: tavrel {ours:.3f} ms, "
      f"scikit-rf MLine {theirs:.3f} ms: {theirs / ours:.2f} times faster")
PY
