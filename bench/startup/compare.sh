#!/usr/bin/env bash
# Time-to-map of two programs, run by turns so that both see the same load:
#   DISPLAY=:57 bench/startup/compare.sh 20 build/tavrel transcalc
# (an Xvfb without a window manager, e.g. `Xvfb :57 -screen 0 1600x1000x24`).
# instructions.sh counts what each thread executes up to the map.
# Prints each program's medians over the runs, in milliseconds: wall-clock
# time to map, the processor time its threads had used by then, and the
# processor time to the end of the run with ended threads and child
# processes included (bench/startup/maptime.c).
set -euo pipefail
runs=$1 first=$2 second=$3
here=$(cd "$(dirname "$0")" && pwd)
tool=$(mktemp -d)/maptime
trap 'rm -rf "$(dirname "$tool")"' EXIT
cc -O2 -o "$tool" "$here/maptime.c" -lX11
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
report() { # "WALL CPU TOTAL" lines
  local lines; lines=$(cat)
  echo "$(cut -d' ' -f1 <<<"$lines" | median) ms to map, $(cut -d' ' -f2 <<<"$lines" | median) ms" \
    "processor ($(cut -d' ' -f3 <<<"$lines" | median) ms to the end, all threads and children)"
}
a=() b=()
for ((i = 0; i < runs; ++i)); do
  a+=("$("$tool" 1 $first 2>/dev/null | sed -n 1p)") # a command: words split
  b+=("$("$tool" 1 $second 2>/dev/null | sed -n 1p)")
done
echo "$(date -u +%H:%M:%S) median of $runs runs each, by turns:"
echo "  $first: $(printf '%s\n' "${a[@]}" | report)"
echo "  $second: $(printf '%s\n' "${b[@]}" | report)"
