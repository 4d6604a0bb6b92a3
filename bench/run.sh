#!/usr/bin/env bash
# Runs every benchmark program of the build; each prints "FIGURE <name> <value> <unit>" lines.
# Usage: [TLI_PEER=tlbdump.exe] bench/run.sh [BIN_DIR]; TLI_PEER is the Windows dumper that
# bench-tli times under wine as a peer (bench-tli --peer).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bin="${1:-$here/build/bin}"
for b in "$bin"/bench-*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    if [ "$(basename "$b")" = bench-tli ] && [ -n "${TLI_PEER:-}" ]; then
        "$b" --peer "$TLI_PEER"
    else
        "$b"
    fi
done
