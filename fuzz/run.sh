#!/usr/bin/env bash
# Builds every libFuzzer target under ASan + UBSan and runs each for FUZZ_SECONDS (default 60).
# Usage: fuzz/run.sh [target...]   (default: every fuzz-* target, then every robust-* program)
# robust-* programs are whole-corpus damage runs under the same sanitizers, not fuzzers. A finding
# worth keeping goes to fuzz/regressions/<target>/, which the suite replays.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build="${FUZZ_BUILD:-$here/build-fuzz}"
seconds=${FUZZ_SECONDS:-60}

# fuzzer-no-link: the libraries under test report coverage to libFuzzer, not only the harness.
san="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVANTOR_FUZZ=ON -DVANTOR_TESTS=OFF -DVANTOR_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$san" >/dev/null
cmake --build "$build" -j "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(cd "$build/bin" && ls fuzz-* robust-* 2>/dev/null)
fi

status=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    seeds=()
    for d in "$here/fuzz/seeds/$t" "$here/fuzz/regressions/$t"; do
        [ -d "$d" ] && seeds+=("$d")
    done
    if [[ $t == robust-* ]]; then
        echo "== $t"
        if ! "$build/bin/$t" >"$build/$t.log" 2>&1; then
            echo "FINDING in $t (see $build/$t.log)"
            tail -40 "$build/$t.log"
            status=1
        else
            tail -1 "$build/$t.log"
        fi
        continue
    fi
    echo "== $t: ${seconds}s"
    if ! "$build/bin/$t" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/$t-" "$corpus" "${seeds[@]}" 2>"$build/$t.log"; then
        echo "FINDING in $t (see $build/$t.log)"
        tail -40 "$build/$t.log"
        status=1
    else
        grep -E 'stat::number_of_executed_units|Done' "$build/$t.log" | tail -2
    fi
done
exit $status
