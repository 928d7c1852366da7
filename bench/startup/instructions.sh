#!/usr/bin/env bash
# Instructions each thread of a program executes up to its first window map
# (callgrind; the program is ended at its first xcb_map_window):
#   DISPLAY=:57 bench/startup/instructions.sh build/tavrel
# Prints the count per thread in millions, thread 1 being the main thread (a
# child the program forks shows as a second process); the profiles stay in
# the folder it names, for callgrind_annotate.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d)
cc -O2 -shared -fPIC -o "$out/stopatmap.so" "$here/stopatmap.c"
LD_PRELOAD="$out/stopatmap.so" valgrind --tool=callgrind --separate-threads=yes \
  --callgrind-out-file="$out/callgrind.out.%p" "$@" >/dev/null 2>&1 || true
for profile in "$out"/callgrind.out.*-[0-9]*; do
  id=${profile##*.}
  printf 'process %s thread %d: %s M\n' "${id%-*}" "$((10#${id#*-}))" \
    "$(awk '/^summary:/ { printf "%.2f", $2 / 1e6 }' "$profile")"
done
echo "profiles: $out"
