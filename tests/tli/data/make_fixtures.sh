#!/usr/bin/env bash
# Rebuilds the type library fixtures and the type services' own dumps of them:
#   sample32.tlb, sample64.tlb  from ../../../../shared/docs/verify/sample.idl (SYS_WIN32, SYS_WIN64)
#   values.tlb                  from values.idl (default values and constants of many kinds,
#                               one patched into a 16-bit constant)
#   NAME.txt                    tlbdump.exe (the oracle dumper) under wine, in the canonical format
# Needs widl (Debian wine64-tools), wine and an initialised prefix; not part of the build.
# wine64-tools brings libwine-dev, whose lib*.a import libraries land in Wine's x86_64-windows
# folder beside the binaries: remove it again where tests expect only PE files there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
shared=${VANTOR_SHARED_DIR:-$here/../../../../shared}
inc=/usr/include/wine/wine/windows
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$shared/docs/verify/pe_res.py" /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb \
    TYPELIB 1 >"$work/stdole2.tlb"
cd "$work"
widl -t --win32 -I "$inc" -L . -o "$here/sample32.tlb" "$shared/docs/verify/sample.idl"
widl -t --win64 -I "$inc" -L . -o "$here/sample64.tlb" "$shared/docs/verify/sample.idl"
widl -t --win64 -I "$inc" -L . -o "$here/values.tlb" "$here/values.idl"
# The one 32-bit -2 (enum Narrow) becomes a 16-bit -2: its value record's type I4 -> I2.
python3 - "$here/values.tlb" <<'PY'
import sys
path = sys.argv[1]
data = open(path, 'rb').read()
old, new = bytes.fromhex('0300feffffff'), bytes.fromhex('0200feffffff')
assert data.count(old) == 1, 'expected one 32-bit -2'
open(path, 'wb').write(data.replace(old, new))
PY
for name in sample32 sample64 values; do
    WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all \
        wine "$shared/tools/typelib-oracle/tlbdump.exe" dump "Z:${here//\//\\}\\$name.tlb" \
        >"$here/$name.txt"
done
