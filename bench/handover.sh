#!/usr/bin/env bash
# FIGURE handover_ms: milliseconds from the start of a second vantor to its exit, which comes
# after the running copy has shown the handed-over type info; the median of 10 hand-overs of a
# "progid4:" link on the test prefix (offscreen platform), alternating two type infos.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
. "$here/tests/app/test_machine.sh"

new_test_machine
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_vantor "$work"
wsh='{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}'
times=()
for i in $(seq 1 10); do
    name=$([ $((i % 2)) = 0 ] && echo WshShell || echo WshNetwork)
    t0=$(date +%s%N)
    "$work/program/vantor" --prefix "$work/prefix" "progid4:$wsh:1.0.$name"
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000000)))
done
[ "$(grep -c "hand-over applied" "$work/log")" = 10 ] || { echo "hand-overs lost" >&2; exit 1; }
printf '%s\n' "${times[@]}" | sort -n | awk '{ t[NR] = $1 } END {
    printf "FIGURE handover_ms %d ms\n", (t[5] + t[6]) / 2 }'
