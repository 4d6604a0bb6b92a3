#!/usr/bin/env bash
# Installs what Vantor needs on Debian 12, builds it into build/, then either runs Vantor
# ("run") or the whole test suite ("test").
set -euo pipefail

mode=${1:-run}
shift || true
here=$(cd "$(dirname "$0")/.." && pwd)

# What the build, the run and the tests use, and the tools of .ci/run and fuzz/run.sh.
packages=(
    cmake ninja-build g++          # the build
    qt6-base-dev qt6-svg-dev       # Qt: Core, Gui, Widgets, Test; the icons are SVG
    qt6-websockets-dev chromium    # the catalog export to a browser (DevTools protocol)
    libqt6sql6-sqlite              # the symbol index (Qt Sql's SQLite driver, FTS5)
    libsqlite3-dev                 # the index's bulk writes, through the same SQLite
    libgtest-dev                   # the tests
    fonts-liberation               # the fonts the pane's rich text names
    wine wine64 libwine            # Wine's binaries (tests read them), wineboot for `run`
    xvfb                           # tests/app/window_screenshot.sh, bench/startup.sh
    clang-format-14                # .ci/run's format check
    clang libclang-rt-14-dev       # fuzz/run.sh (libFuzzer)
    libxml2-utils python3-html5lib unrtf  # tests: readers of the exported documents
    libchm-dev                     # vantor-chm reads compiled help files (chmlib)
    fp-utils                       # chmcmd compiles Vantor.chm and the tests' help files
    xdg-utils libglib2.0-bin       # the progid4 scheme: xdg-mime, gio open (tests, README)
)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$here/build" -j "$(nproc)"

case "$mode" in
run)
    # The default machine is ~/.wine; make one when there is none (Vantor itself never does).
    if [ -z "${WINEPREFIX:-}" ] && [ ! -f "$HOME/.wine/system.reg" ]; then
        echo "Creating a Wine prefix in ~/.wine..."
        WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
        wineserver -w 2>/dev/null || true
    fi
    exec "$here/build/bin/vantor" "$@"
    ;;
test)
    cd "$here/build"
    exec ctest --output-on-failure -j "$(nproc)" "$@"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
