#!/usr/bin/env bash
# Runs every benchmark program of the build; each prints "FIGURE <name> <value> <unit>" lines.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin="${1:-$here/build/bin}"
for b in "$bin"/bench-*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b"
done
