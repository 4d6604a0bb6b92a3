#!/usr/bin/env bash
# Shows the help viewer on Vantor.chm under Xvfb (1024x768) and saves a PNG of the screen.
# Usage: tests/app/help_screenshot.sh [OUT.png] (default docs/help-viewer.png).
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$here/docs/help-viewer.png}
build=${BUILD_DIR:-$here/build}
. "$here/tests/app/test_machine.sh"

XVFB_PID=
trap 'kill $XVFB_PID 2>/dev/null || true' EXIT
start_xvfb
"$build/bin/help-viewer-shot" "$build/bin/Vantor.chm" "PopUp Menu" "$out"
echo "saved $out"
