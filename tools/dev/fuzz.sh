#!/usr/bin/env bash
# ./dev fuzz [seconds]: setup, then builds the libFuzzer targets with clang and runs each for that many
# seconds (default 60).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Every fuzz target in turn, each for the given seconds, on its corpus (fuzz/corpus/<target>, grown in
# the build folder); inputs that once failed are in fuzz/regressions/<target> and are run first.
cmd_fuzz() {
    local seconds=${1:-60}
    setup
    if [ ! -f $BUILD/fuzz/build.ninja ]; then
        CC=clang CXX=clang++ cmake -S . -B $BUILD/fuzz -G Ninja -DMORVIX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address" >/dev/null
    fi
    local targets=()
    for src in fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
    cmake --build $BUILD/fuzz -j2 --target "${targets[@]}"
    for target in "${targets[@]}"; do
        local corpus=$BUILD/fuzz/corpus/$target
        mkdir -p "$corpus"
        cp fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
        if compgen -G "fuzz/regressions/$target/*" >/dev/null; then
            log "fuzz $target: earlier failures"
            $BUILD/fuzz/$target fuzz/regressions/"$target"/* 2>&1 | tail -2
        fi
        log "fuzz $target for $seconds s"
        $BUILD/fuzz/$target -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=$BUILD/fuzz/"$target"- \
            "$corpus" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==|SUMMARY|artifact_prefix|Test unit written)|runtime error|Done [0-9]+ runs'
    done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    cmd_fuzz "$@"
fi
