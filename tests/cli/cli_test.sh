#!/usr/bin/env bash
# vantor-cli as a process over the test prefix: each command's text and JSON forms, the exit
# statuses, the diff of the sample library against itself and a changed copy, and the rule that
# the window's catalogs stay as they are for another machine.
# Usage: cli_test.sh VANTOR_CLI TLBDUMP
set -uo pipefail
cli=$1 tlbdump=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../app/test_machine.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
make_test_prefix "$work"
cp "$cli" "$(dirname "$cli")/vantor-build-tree" "$work/program/"
run() { "$work/program/vantor-cli" --prefix "$work/prefix" "$@"; }
sample=$here/../tli/data/sample32.tlb changed=$here/data/sample32-changed.tlb
head -c 300 "$changed" >"$work/cut.tlb"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# status | stream to search (out, err, json: stdout must parse) | pattern (grep -E) | arguments
cases=(
    "0|out|^vantor-cli [0-9]|--version"
    "0|out|^  show LIBRARY|--help"
    "0|out|--list-order|export --help"
    "2|err|no command|"
    "2|err|unknown command frob|frob"
    "2|err|unknown option --bogus|libraries --bogus"
    "2|err|unexpected argument|show a b c d"
    "0|out|^\{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B\} 1\.0  .*wshom\.ocx|libraries"
    "0|json|\"libName\"|libraries --json script"
    "1|empty||libraries zzzz-nothing"
    "0|out|^WScript\.Shell \{|progids"
    "1|json|\"progIds\": \[$|progids --json zzzz-nothing"
    "0|out|^  IWshShell3$|show wshom.ocx"
    "0|out|Run\(|show {F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}:1.0 IWshShell3 Run"
    "0|json|\"name\": \"Run\"|show --json C:\\windows\\system32\\wshom.ocx iwshshell3"
    "0|out|^  IWshShell3$|show IWshRuntimeLibrary"
    "0|out|^Function Replace\(|show vbscript.dll\\3 regexp replace"
    "2|err|MSXML2 names several libraries|show MSXML2"
    "2|err|no library of the catalog is named nosuchlib|show nosuchlib"
    "2|err|no type named NoType|show wshom.ocx NoType"
    "0|out|^const |export wshom.ocx --format vbscript"
    "0|out|^var |export wshom.ocx --format=jscript"
    "0|out|^\{\\\\rtf1|export wshom.ocx --format rtf --list-order"
    "2|err|--json is not available|export wshom.ocx --format rtf --json"
    "2|err|unknown format bogus|export wshom.ocx --format bogus"
    "0|out|^constant +TristateTrue +Tristate +Scripting [0-9.]+ +-1|find TristateTrue"
    "0|json|\"match\": \"exact\"|find --json tristatetrue --exact --kind constants"
    "1|empty||find --kind types,members TristateTrue"
    "2|err|unknown kind bogus|find x --kind bogus"
    "0|out|^set oObj = WScript\.CreateObject\(\"WScript\.Shell\.1\", \"oObj_\"\)$|snippet wshom.ocx WshShell --as vbscript"
    "0|out|^var oObj = new ActiveXObject\('My\.Thing'\);$|snippet --progid My.Thing --as jscript"
    "1|err|Failed - Not Creatable\.\.\.|snippet wshom.ocx IWshShell3 --as=python"
    "0|json|\"status\": \"Copied TypeInfo GUID\"|snippet --json wshom.ocx WshShell --as guid"
    "0|out|^<reference guid=\"\{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B\}\" version=\"1\.0\" />$|snippet wshom.ocx --as wsh-reference"
    "2|err|--as guid needs LIBRARY TYPE|snippet --progid X --as guid"
    "0|empty||diff $sample $sample"
    "1|out|^  - function Add$|diff $sample $changed"
    "1|out|^  \+ function Sum$|diff $sample $changed"
    "1|out|^  ~ guid: \{0D9E8F24-.*\} -> \{0D9E8F34-|diff $sample $changed"
    "1|out|constant Blue: value: I4:2147483647 -> I4:2147483646|diff $sample $changed"
    "1|out|function Opt: parameter 5 \(Big\) default: I4:305419896 -> I4:305419897|diff $sample $changed"
    "1|out|^  ~ help string: Vantor format sample library -> Vantor format sample librarz|diff $sample $changed"
    "1|json|\"same\": false|diff --json $sample $changed"
    "2|err|no such file: /nonexistent.tlb|diff $sample /nonexistent.tlb"
    "2|out|^library ERR\(0x80029C4A\)|dump /nonexistent.tlb"
    "2|err|cli_test.sh: neither a type library nor a PE file|diff $sample $here/cli_test.sh"
    "2|err|cut.tlb: a read of .* leaves the data|dump $work/cut.tlb"
)
for row in "${cases[@]}"; do
    IFS='|' read -r want stream pattern args <<<"$row"
    # shellcheck disable=SC2086 # the arguments are split on purpose
    run $args >"$work/out" 2>"$work/err"
    status=$?
    [ "$status" = "$want" ] || fail "$args: status $status, not $want ($(head -c 300 "$work/err"))"
    file=$work/out
    [ "$stream" = err ] && file=$work/err
    if [ "$stream" = empty ]; then
        [ -s "$work/out" ] && fail "$args: output where none was expected"
        continue
    fi
    if [ "$stream" = json ] && ! python3 -m json.tool "$work/out" >/dev/null; then
        fail "$args: no JSON document"
    fi
    grep -Eq -- "$pattern" "$file" || fail "$args: no line matching $pattern in std$stream"
done

# dump prints what tlbdump prints.
run dump "$sample" >"$work/dump" && "$tlbdump" --prefix "$work/prefix" "$sample" >"$work/tlbdump" &&
    cmp -s "$work/dump" "$work/tlbdump" || fail "dump differs from tlbdump"

# Another machine's catalogs go to a cache folder: the window's stay as they are.
printf '[Platform]\r\nLastMachine=0123456789ab\r\n' >"$work/program/vantor.ini"
echo "the window's catalog" >"$work/program/dbTypes.dat"
run libraries >/dev/null 2>&1 || fail "libraries of another machine"
grep -q "the window's catalog" "$work/program/dbTypes.dat" || fail "the window's catalog was rewritten"
ls "$work"/program/machines/*/dbTypes.dat >/dev/null 2>&1 || fail "no cache folder catalog"
run find TristateTrue >/dev/null 2>&1 && ls "$work"/program/machines/*/index/*.sqlite >/dev/null 2>&1 ||
    fail "no cache folder symbol index"
grep -q LastMachine=0123456789ab "$work/program/vantor.ini" || fail "LastMachine was changed"

[ "$failures" = 0 ] && echo "all passed"
exit $((failures > 0))
