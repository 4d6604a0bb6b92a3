#!/usr/bin/env bash
# Rebuilds the type library fixtures and the type services' own dumps of them:
#   sample32.tlb, sample64.tlb  from ../../../../shared/docs/verify/sample.idl (SYS_WIN32, SYS_WIN64)
#   values.tlb                  from values.idl (default values and constants of many kinds)
#   aliases32.tlb               from aliases.idl (SYS_WIN32: aliases of every size class)
#   NAME.txt                    tlbdump.exe (the oracle dumper) under wine, in the canonical format
# Needs widl (Debian wine64-tools), wine and an initialised prefix; not part of the build.
# wine64-tools brings libwine-dev, whose lib*.a import libraries land in Wine's x86_64-windows
# folder beside the binaries: remove it again where tests expect only PE files there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
shared=${VANTOR_SHARED_DIR:-$here/../../../../shared}
inc=/usr/include/wine/wine/windows
widl=$(command -v widl || echo /usr/lib/wine/widl)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$shared/docs/verify/pe_res.py" /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb \
    TYPELIB 1 >"$work/stdole2.tlb"
cd "$work"
"$widl" -t --win32 -I "$inc" -L . -o "$here/sample32.tlb" "$shared/docs/verify/sample.idl"
"$widl" -t --win64 -I "$inc" -L . -o "$here/sample64.tlb" "$shared/docs/verify/sample.idl"
"$widl" -t --win64 -I "$inc" -L . -o "$here/values.tlb" "$here/values.idl"
"$widl" -t --win32 -I "$inc" -L . -o "$here/aliases32.tlb" "$here/aliases.idl"
for name in sample32 sample64 values aliases32; do
    WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all \
        wine "$shared/tools/typelib-oracle/tlbdump.exe" dump "Z:${here//\//\\}\\$name.tlb" \
        >"$here/$name.txt"
done
