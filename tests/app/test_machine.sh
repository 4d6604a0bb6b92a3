# Sourced by the window scripts: make_test_machine DIR BUILD makes DIR/prefix (the hives of
# testdata/wine-prefix, C:\windows\system32 = Wine's binaries) and DIR/program holding a copy of
# BUILD's vantor and its build-tree marker, so that its program folder (vantor.ini, the catalogs)
# is DIR/program.
test_machine_hives=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../testdata/wine-prefix" && pwd)
make_test_machine() {
    make_test_prefix "$1"
    cp "$2/bin/vantor" "$2/bin/vantor-build-tree" "$1/program/"
}

# make_test_prefix DIR: DIR/prefix and an empty DIR/program.
make_test_prefix() {
    local dir=$1
    mkdir -p "$dir/prefix/dosdevices" "$dir/prefix/drive_c/windows" "$dir/program"
    cp "$test_machine_hives"/*.reg "$dir/prefix/"
    chmod u+w "$dir"/prefix/*.reg
    ln -sfn ../drive_c "$dir/prefix/dosdevices/c:"
    ln -sfn /usr/lib/x86_64-linux-gnu/wine/x86_64-windows "$dir/prefix/drive_c/windows/system32"
}

# A vantor ended by SIGTERM saves its settings first: it is waited for before its folder goes.
remove_test_machine() {
    kill $VANTOR_PID $XVFB_PID 2>/dev/null || true
    [ -z "$VANTOR_PID" ] || wait "$VANTOR_PID" 2>/dev/null || true
    rm -rf "$work"
}

# new_test_machine: a test machine in a new temporary folder $work (from $build),
# removed on exit together with the Xvfb and vantor the script started.
new_test_machine() {
    work=$(mktemp -d)
    XVFB_PID= VANTOR_PID=
    trap remove_test_machine EXIT
    make_test_machine "$work" "$build"
}

# start_xvfb: starts a 1024x768 Xvfb on a free display and exports DISPLAY; XVFB_PID is its id.
start_xvfb() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
    XVFB_PID=$!
    local display
    read -r display <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
}

# start_vantor DIR: starts DIR/program/vantor on DIR/prefix (VANTOR_PID) and waits until
# start-up has finished (its "start-up finished" line in DIR/log), at most 60 s.
start_vantor() {
    : >"$1/log"
    QT_LOGGING_RULES="vantor.startup.info=true;vantor.handover.info=true" "$1/program/vantor" \
        --prefix "$1/prefix" 2>"$1/log" &
    VANTOR_PID=$!
    for _ in $(seq 1 6000); do
        grep -q "start-up finished" "$1/log" && return 0
        sleep 0.01
    done
    return 1
}
