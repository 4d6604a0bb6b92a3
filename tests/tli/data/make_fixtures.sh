#!/usr/bin/env bash
# Rebuilds the type library fixtures and the type services' own dumps of them:
#   sample32.tlb, sample64.tlb  from sample.idl (SYS_WIN32, SYS_WIN64)
#   values.tlb                  from values.idl (default values and constants of many kinds)
#   NAME.txt                    the oracle dumper under wine, in the dump format of
#                               testdata/oracle/FORMAT.md
# Usage: make_fixtures.sh WIDL ORACLE
#   WIDL    the IDL compiler (widl of Wine 8.0, Debian wine64-tools)
#   ORACLE  the oracle dumper (tlbdump.exe, a Windows program that dumps a library through
#           LoadTypeLibEx), run with wine on an initialised prefix
# A maintainer's tool: neither the build nor the tests run it. wine64-tools brings libwine-dev,
# whose lib*.a import libraries land in Wine's x86_64-windows folder beside the binaries: remove
# it again where tests expect only PE files there.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 WIDL ORACLE" >&2
    exit 2
fi
widl=$1
oracle=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
wine_dir=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
inc=/usr/include/wine/wine/windows
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# importlib("stdole2.tlb") needs the bare library: Wine's stdole2.tlb is a PE file holding it as
# its one TYPELIB resource. widl reads the library by the offsets of its header, so the bytes
# from the MSFT signature on serve.
python3 -c 'import sys; d = open(sys.argv[1], "rb").read(); sys.stdout.buffer.write(d[d.index(b"MSFT"):])' \
    "$wine_dir/stdole2.tlb" >"$work/stdole2.tlb"
cd "$work"
"$widl" -t --win32 -I "$inc" -L . -o "$here/sample32.tlb" "$here/sample.idl"
"$widl" -t --win64 -I "$inc" -L . -o "$here/sample64.tlb" "$here/sample.idl"
"$widl" -t --win64 -I "$inc" -L . -o "$here/values.tlb" "$here/values.idl"
for name in sample32 sample64 values; do
    WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all \
        wine "$oracle" dump "Z:${here//\//\\}\\$name.tlb" >"$here/$name.txt"
done
