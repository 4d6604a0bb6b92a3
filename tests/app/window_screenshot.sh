#!/usr/bin/env bash
# Starts vantor under Xvfb (1024x768) on a test prefix, waits for start-up to finish and saves a
# PNG of the screen. Usage: tests/app/window_screenshot.sh [OUT.png] (default docs/window.png).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$here/docs/window.png}
build=${BUILD_DIR:-$here/build}
. "$here/tests/app/test_machine.sh"

new_test_machine
mkdir -p "$(dirname "$out")"
# A window of 980x700 pixels at 15 twips per pixel, and one MRU entry so that the list shows.
printf '[FrmSpecs]\r\nTop=300\r\nLeft=300\r\nWidth=14700\r\nHeight=10500\r\n[TLB_MRU]\r\ncount=1\r\nmru01={F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}#1.0#Windows Script Host Object Model#IWshRuntimeLibrary#ocx\r\n' \
    >"$work/program/vantor.ini"

start_xvfb
start_vantor "$work" || { echo "vantor did not finish start-up" >&2; exit 1; }
sleep 0.5
"$build/bin/screen-grab" "$out"
echo "saved $out"
