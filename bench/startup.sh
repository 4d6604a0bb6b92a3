#!/usr/bin/env bash
# FIGURE startup_to_library_s: seconds from the start of the vantor process to the remembered
# library shown, on the test prefix under Xvfb, with the catalogs already built (a first start,
# not measured, builds them).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
. "$here/tests/app/test_machine.sh"

new_test_machine
start_xvfb

start_vantor "$work"
kill "$VANTOR_PID" && wait "$VANTOR_PID" 2>/dev/null || true

t0=$(date +%s.%N)
start_vantor "$work"
t1=$(date +%s.%N)
awk -v a="$t0" -v b="$t1" 'BEGIN { printf "FIGURE startup_to_library_s %.2f s\n", b - a }'
