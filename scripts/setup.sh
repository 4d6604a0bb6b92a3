#!/usr/bin/env bash
# Installs what Vantor needs on Debian 12, builds it into build/, then either runs Vantor
# ("run") or the whole test suite ("test").
set -euo pipefail

mode=${1:-run}
shift || true
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-websockets-dev qt6-svg-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    libchm-dev fp-utils
    fonts-liberation
    wine wine64 libwine
    xvfb xauth
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
