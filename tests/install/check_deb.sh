#!/usr/bin/env bash
# Checks a built package: every file of expected_files.txt under /usr, and a
# dependency list computed by dpkg-shlibdeps (Qt and the C library at least).
#   tests/install/check_deb.sh build/tavrel_<version>_<arch>.deb
set -euo pipefail
deb=$1
here=$(dirname "$0")
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
contents=$(dpkg-deb --contents "$deb" | sed -E 's/^([^ ]+ +){5}//')
status=0
while IFS= read -r path; do
  path=${path//@TRIPLET@/$triplet}
  if ! grep -qxF "./usr/$path" <<<"$contents"; then
    echo "missing from $deb: /usr/$path" >&2
    status=1
  fi
done <"$here/expected_files.txt"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# libqt6charts6 through the sweep library, which no executable names.
for needed in libc6 libqt6widgets6 libqt6charts6 libstdc++6; do
  grep -q "\b$needed\b" <<<"$depends" || { echo "Depends lacks $needed" >&2; status=1; }
done
exit $status
