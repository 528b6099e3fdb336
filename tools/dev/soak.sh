#!/usr/bin/env bash
# ./dev soak [minutes] [--arch x86_64|i686]: setup, build, then one long session of the stand-in host
# (default 1 minute) on both DLLs, or on one; nothing the process holds may grow.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

# The stand-in host plays 3,000 files for the given minutes while the user does everything the plug-in
# reacts to; every 10 s it samples the heaps' bytes in use, private bytes, handles and GDI objects, and
# fails on a crash, a growing series, a data file without the 30 files used last, or a round that found
# the bar broken. It runs on both DLLs, the 32-bit one that people run for hours included.
cmd_soak() {
    local minutes=1 arches=(x86_64 i686)
    while (($#)); do
        case "$1" in
        --arch) arches=("${2:-}") && shift 2 ;;
        *) minutes=$1 && shift ;;
        esac
    done
    setup
    build
    for arch in "${arches[@]}"; do
        run_soak "$((minutes * 60))" "$arch"
    done
    summary
}

run_soak() { # seconds, arch
    use_arch "$2"
    wine_boot
    log "soak: $1 s in the stand-in host under $ARCH Wine"
    local out=$E2E_DIR/soak.log start=$SECONDS
    (cd "$E2E_DIR" && MORVIX_SOAK_SECONDS=$1 timeout $(($1 + 600)) xvfb-run -a -s "-screen 0 1280x1024x24" \
        "$WINE" ./soak_tests.exe) >"$out" 2>&1 || true
    timeout 60 $WINESERVER -k 2>/dev/null || true
    grep -E '^soak:' "$out" | grep -v -E '^soak: sample at' || true
    grep -E -A24 'Failure' "$out" | grep -v -E '^soak:' | head -80 || true
    grep -q '^\[==========\]' "$out" || echo "the soak did not finish: it crashed or hung (log: $out)"
    echo "$ARCH soak time: $((SECONDS - start)) s (log: $out)"
    count_gtest "$out"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    cmd_soak "$@"
fi
