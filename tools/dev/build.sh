#!/usr/bin/env bash
# ./dev build: setup, then builds the four presets: native (unit tests, benchmarks), win32 (the i686
# release DLL), win64 (DLL, stand-in host, e2e tests) and win32-e2e (the 32-bit host and tests around
# the release DLL). Warnings are shown; a failed build shows its log's end.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

build() {
    # win32-e2e builds the 32-bit host and tests around the DLL that win32 built: the one users install.
    for preset in native win32 win64 win32-e2e; do
        if [ "$preset" = win32-e2e ]; then
            configure "$preset" -DMORVIX_PLUGIN_DLL="$ROOT/$BUILD/win32/gen_morvix.dll"
        else
            configure "$preset"
        fi
        log "build $preset"
        if ! cmake --build "$BUILD/$preset" -j2 >"$BUILD/$preset.log" 2>&1; then
            grep -v -E '^\[[0-9]+/[0-9]+\] ' "$BUILD/$preset.log" | tail -60
            echo "build $preset failed" >&2
            exit 1
        fi
        grep -i 'warning' "$BUILD/$preset.log" | head -20 || true
    done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    setup
    build
fi
