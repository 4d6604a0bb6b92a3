#!/usr/bin/env bash
# desktop_install.sh BUILD: installs BUILD into a temporary ~/.local, as a user install does,
# then checks the program folder (the XDG one, never bin/), the progid4 scheme registration
# through xdg-mime, and that `gio open` of a progid4: URL reaches the running copy.
set -euo pipefail
build=$(cd "${1:?usage: desktop_install.sh BUILD}" && pwd)
. "$(dirname "$0")/test_machine.sh"
new_test_machine
home=$work/home
cmake --install "$build" --prefix "$home/.local" >/dev/null
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config \
    XDG_DATA_DIRS=/usr/share XDG_RUNTIME_DIR=$work/run PATH=$home/.local/bin:$PATH \
    WINEPREFIX=$work/prefix QT_QPA_PLATFORM=offscreen
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
fail() { echo "FAIL: $*" >&2; cat "$work/log" 2>/dev/null >&2; exit 1; }
wsh='{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}'

for f in bin/vantor bin/tlbdump share/vantor/Vantor.chm share/applications/vantor.desktop \
    share/icons/hicolor/scalable/apps/vantor.svg; do
    [ -f "$home/.local/$f" ] || fail "not installed: $f"
done
[ -e "$home/.local/bin/vantor-build-tree" ] && fail "the build-tree marker was installed"
grep -qx 'Exec=vantor %u' "$XDG_DATA_HOME/applications/vantor.desktop" || fail "Exec line"

# The installed program, started by name with the prefix as $WINEPREFIX.
QT_LOGGING_RULES="vantor.startup.info=true;vantor.handover.info=true" vantor 2>"$work/log" &
VANTOR_PID=$!
for _ in $(seq 1 6000); do
    grep -q "start-up finished" "$work/log" && break
    sleep 0.01
done
grep -q "start-up finished" "$work/log" || fail "the installed vantor did not start"
folder=$XDG_DATA_HOME/vantor
[ -f "$folder/dbTypes.dat" ] || fail "no catalog in $folder"
[ -e "$home/.local/bin/dbTypes.dat" ] && fail "the catalog went into bin/"
for d in Include/AutoComplete Include/VBScript Include/JScript RichText HTML XML; do
    [ -d "$folder/LibDocs/$d" ] || fail "no LibDocs/$d in $folder"
done

xdg-mime default vantor.desktop x-scheme-handler/progid4
[ "$(xdg-mime query default x-scheme-handler/progid4)" = vantor.desktop ] ||
    fail "xdg-mime does not name vantor.desktop"
gio open "progid4:$wsh:1.0.WshNetwork" || fail "gio open"
for _ in $(seq 1 6000); do
    grep -q "hand-over applied: \"$wsh:1.0.WshNetwork\"" "$work/log" && break
    sleep 0.01
done
grep -q "hand-over applied" "$work/log" || fail "gio open did not reach the running copy"
kill -TERM "$VANTOR_PID"
wait "$VANTOR_PID" || fail "SIGTERM"
VANTOR_PID=
last=$(grep -i '^lt_Last=' "$folder/vantor.ini" | tr -d '\r' | cut -d= -f2-)
[ "$last" = "$wsh:1.0.WshNetwork" ] || fail "lt_Last is '$last' after gio open"
echo "desktop install: all passed"
