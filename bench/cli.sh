#!/usr/bin/env bash
# FIGURE show_ms: vantor-cli showing a member of mshtml.tlb, process start to exit, with the
# catalogs present (a first run, not measured, builds them). FIGURE diff_ms: vantor-cli
# comparing mshtml.tlb with itself. Each the median of 9 runs, on the test prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
. "$here/tests/app/test_machine.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_test_prefix "$work"
cp "$build/bin/vantor-cli" "$build/bin/vantor-build-tree" "$work/program/"
cli() { "$work/program/vantor-cli" --prefix "$work/prefix" "$@" >/dev/null; }
cli libraries
median_ms() {
    local name=$1 times=()
    shift
    for _ in 1 2 3 4 5 6 7 8 9; do
        local t0 t1
        t0=$(date +%s%N)
        "$@" || [ $? = 1 ]
        t1=$(date +%s%N)
        times+=($(((t1 - t0) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 5p | xargs printf "FIGURE %s %s ms\n" "$name"
}
median_ms show_ms cli show mshtml.tlb IHTMLDocument2 title
median_ms diff_ms cli diff mshtml.tlb mshtml.tlb
