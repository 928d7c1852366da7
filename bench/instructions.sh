#!/usr/bin/env bash
# Instructions per Analyze of every line type and per 1000-point microstrip
# sweep, counted by callgrind: unlike the CPU times of `make bench` they do
# not move with the load of a shared machine.  Needs valgrind; takes about a
# minute.  Usage: bench/instructions.sh [path/to/tavrel-bench]
set -euo pipefail
bench=${1:-build/bench/tavrel-bench}
if ! command -v valgrind >/dev/null; then
  echo "instruction counts skipped: install valgrind"
  exit 0
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Inclusive instructions of the benchmark loop's callee, divided by its calls.
per_call() { # name filter caller-pattern min-time
  local file="$out/${1//\//_}"
  valgrind --tool=callgrind --callgrind-out-file="$file" "$bench" \
    --benchmark_filter="$2" --benchmark_min_time="$4" >/dev/null 2>&1
  callgrind_annotate --inclusive=yes --tree=caller "$file" 2>/dev/null |
    grep -E "^ *[0-9,]+ \([ 0-9.]+%\)  < .*$3" | head -n 1 |
    sed -E 's/^ *([0-9,]+) .*\(([0-9,]+)x\).*/\1 \2/; s/,//g' |
    awk -v name="$1" '{ printf "%-40s %12.0f\n", name, $1 / $2 }'
}

echo "instructions per call (callgrind)"
for name in $("$bench" --benchmark_list_tests | grep -E '^BM_[A-Za-z]*Analyze[A-Za-z]*$'); do
  per_call "$name" "^$name\$" 'RunLineBenchmark' 0.3
done
per_call BM_Sweep1000/microstrip '^BM_Sweep1000/microstrip$' \
  ':\(anonymous namespace\)::BM_Sweep1000\(' 2
