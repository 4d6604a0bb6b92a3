#!/usr/bin/env bash
# single_instance.sh BUILD: two real copies of vantor on a test prefix (offscreen platform). A
# second start hands its argument to the first and ends with status 0; the first's state is read
# from its settings after a SIGTERM close. Also: a socket left by a killed copy, three copies
# started at once, and messages that are not of the hand-over layout.
set -euo pipefail
build=$(cd "${1:?usage: single_instance.sh BUILD}" && pwd)
. "$(dirname "$0")/test_machine.sh"
new_test_machine
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
wsh='{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}'
scrrun='{420B2830-E718-11CF-893D-00A0C9054228}'
fail() { echo "FAIL: $*" >&2; cat "$work/log" >&2; exit 1; }

# second ARGS...: a second start; its status must be 0.
second() {
    local status=0
    "$work/program/vantor" --prefix "$work/prefix" "$@" 2>>"$work/second.log" || status=$?
    [ "$status" = 0 ] || fail "second start $* ended with $status"
}
applied() { grep -c "hand-over applied" "$work/log" || true; }
# close_first [SIGNAL]: SIGTERM (or SIGNAL), the window closes the normal way; sets last to
# lt_Last.
close_first() {
    local status=0
    kill -"${1:-TERM}" "$VANTOR_PID"
    wait "$VANTOR_PID" || status=$?
    [ "$status" = 0 ] || fail "the first copy ended with $status on SIG${1:-TERM}"
    VANTOR_PID=
    last=$(grep -i '^lt_Last=' "$work/program/vantor.ini" | tr -d '\r' | cut -d= -f2-)
}
expect_last() {
    close_first "${2:-TERM}"
    [ "$last" = "$1" ] || fail "lt_Last is '$last', expected '$1'"
}

# A link's switch, handed over while the first copy still waits for its catalogs (it builds
# them): WshNetwork is selected after start-up opened its own library, before the second ends.
: >"$work/log"
QT_LOGGING_RULES="vantor.startup.info=true;vantor.handover.info=true" "$work/program/vantor" \
    --prefix "$work/prefix" 2>"$work/log" &
VANTOR_PID=$!
for _ in $(seq 1 6000); do
    grep -q "window shown" "$work/log" && break
    sleep 0.01
done
second "/progidurl:progid4:$wsh:1.0.WshNetwork"
awk '/start-up finished/ { up = 1 } /hand-over applied/ { exit !up }' "$work/log" ||
    fail "the hand-over was not applied once start-up had finished"
[ "$(applied)" = 1 ] || fail "the second copy ended before its hand-over was applied"
expect_last "$wsh:1.0.WshNetwork"

# Messages not of the layout get no answer and change nothing; the copy keeps serving. Then a
# start without arguments (and without a display) only brings the window to the front, and a
# ProgID opens its class.
start_vantor "$work" || fail "second round's first start"
socket=$(echo "$XDG_RUNTIME_DIR"/quillet-Vantor_APPLICATION-*[0-9a-f])
python3 - "$socket" <<'PY' || fail "a malformed message was answered"
import socket, struct, sys
def answer(data):
    s = socket.socket(socket.AF_UNIX)
    s.connect(sys.argv[1])
    s.sendall(data)
    s.shutdown(socket.SHUT_WR)
    s.settimeout(30)
    try:
        return s.recv(4)
    except ConnectionResetError:
        return b""
for data in (b"\0\0\0", struct.pack("<II", 0, 10) + b"Scri",
             struct.pack("<II", 0, 70000) + b"X" * 70000, struct.pack("<II", 5, 1) + b"X"):
    assert answer(data) == b"", data[:8]
PY
(unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY && second)
second "Scripting.FileSystemObject"
[ "$(applied)" = 2 ] || fail "expected two hand-overs applied, the log has $(applied)"
grep -q 'hand-over applied: ""' "$work/log" || fail "the start without arguments"
expect_last "$scrrun:1.0.FileSystemObject"

# A copy killed outright leaves its socket; the next start is a first copy all the same.
start_vantor "$work" || fail "third round's first start"
kill -KILL "$VANTOR_PID"
wait "$VANTOR_PID" 2>/dev/null || true
[ -S "$socket" ] || fail "the killed copy left no socket behind"
start_vantor "$work" || fail "a start after a crash did not become the first copy"
second "$wsh.WshNetwork"
second "{00000000-0000-0000-0000-000000000000}:1.0.Nothing"
[ "$(applied)" = 2 ] || fail "hand-overs to the recovered copy"
expect_last "$wsh:1.0.WshNetwork" INT # Ctrl+C in a terminal

# Three copies started at the same moment give one window.
pids=()
for i in 1 2 3; do
    QT_LOGGING_RULES="vantor.startup.info=true" "$work/program/vantor" --prefix "$work/prefix" \
        2>"$work/same$i.log" &
    pids+=($!)
done
for _ in $(seq 1 6000); do
    [ "$(cat "$work"/same*.log | grep -c "start-up finished")" -ge 1 ] && break
    sleep 0.01
done
ended=0
for pid in "${pids[@]}"; do
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.01
    done
    if kill -0 "$pid" 2>/dev/null; then
        VANTOR_PID=$pid
    else
        wait "$pid" || fail "a simultaneous start ended with $?"
        ended=$((ended + 1))
    fi
done
[ "$ended" = 2 ] || fail "$((3 - ended)) windows from three simultaneous starts"
[ "$(cat "$work"/same*.log | grep -c "start-up finished")" = 1 ] || fail "simultaneous starts"
close_first
echo "single instance: all passed"
