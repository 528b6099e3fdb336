#!/usr/bin/env bash
# ./dev e2e [--arch x86_64|i686] [--two-monitors|--192dpi] [gtest arguments]: setup, build, then the
# end-to-end tests (the real DLL in the stand-in host under Wine+Xvfb) on one architecture; the
# two-monitor cases under an Xephyr with two screens, or the bar's cases at 192 DPI.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

run_e2e() { # arch [test arguments]
    use_arch "$1"
    shift
    log "end-to-end tests under $ARCH Wine ($(stat -c %s "$E2E_DIR/gen_morvix.dll") bytes of gen_morvix.dll)"
    wine_boot
    local out=$E2E_DIR/e2e.log start=$SECONDS
    # The two-monitor cases have a run of their own (run_e2e_two_monitors).
    [[ " $* " == *" --gtest_filter="* ]] || set -- --gtest_filter=-TwoMonitors.* "$@"
    (cd "$E2E_DIR" && timeout 1200 xvfb-run -a -s "-screen 0 1280x1024x24" "$WINE" ./e2e_tests.exe --gtest_brief=1 \
        "$@") >"$out" 2>&1 || true
    timeout 60 $WINESERVER -k 2>/dev/null || true
    grep -v -E '^\s*$' "$out" | grep -E -A30 '^\[  FAILED  \]|Failure' | head -120 || true
    tail -3 "$out"
    echo "$ARCH e2e time: $((SECONDS - start)) s"
    count_gtest "$out"
}

run_e2e_two_monitors() { # arch [test arguments]
    use_arch "$1"
    shift
    log "end-to-end tests on two monitors under $ARCH Wine"
    wine_boot
    two_monitor_prefix on
    local out=$E2E_DIR/e2e-two-monitors.log start=$SECONDS
    (cd "$E2E_DIR" && with_two_monitors timeout 600 "$WINE" ./e2e_tests.exe --gtest_brief=1 \
        --gtest_filter=TwoMonitors.* "$@") >"$out" 2>&1 || true
    timeout 60 $WINESERVER -k 2>/dev/null || true
    two_monitor_prefix off
    grep -v -E '^\s*$' "$out" | grep -E -A30 '^\[  FAILED  \]|Failure' | head -60 || true
    tail -3 "$out"
    echo "$ARCH two-monitor e2e time: $((SECONDS - start)) s"
    count_gtest "$out"
}

# The bar's and the options dialog's cases at 200% (192 DPI): Wine gives every process the DPI of the
# prefix's LogPixels, read when the process starts; set for this run alone on a screen of the size such a
# scale goes with, and taken away again.
SCALED_CASES='Bar.*:BarMouse.*:BarKeys.*:ConfigDialog.Opens*:ConfigDialog.TheLastPlayed*'
run_e2e_scaled() { # arch [test arguments]
    use_arch "$1"
    shift
    log "end-to-end bar cases at 192 DPI under $ARCH Wine"
    wine_boot
    timeout 120 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 || true
    timeout 60 $WINESERVER -w 2>/dev/null || true
    [[ " $* " == *" --gtest_filter="* ]] || set -- "--gtest_filter=$SCALED_CASES" "$@"
    local out=$E2E_DIR/e2e-192dpi.log start=$SECONDS
    (cd "$E2E_DIR" && timeout 900 xvfb-run -a -s "-screen 0 2560x1440x24" "$WINE" ./e2e_tests.exe --gtest_brief=1 \
        "$@") >"$out" 2>&1 || true
    timeout 60 $WINESERVER -k 2>/dev/null || true
    timeout 120 "$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    timeout 60 $WINESERVER -w 2>/dev/null || true
    grep -v -E '^\s*$' "$out" | grep -E -A30 '^\[  FAILED  \]|Failure' | head -80 || true
    tail -3 "$out"
    echo "$ARCH 192 DPI e2e time: $((SECONDS - start)) s"
    count_gtest "$out"
}

cmd_e2e() {
    local arch=x86_64 run=run_e2e
    [ "${1:-}" = --arch ] && arch=${2:-} && shift 2
    [ "${1:-}" = --two-monitors ] && run=run_e2e_two_monitors && shift
    [ "${1:-}" = --192dpi ] && run=run_e2e_scaled && shift
    setup
    build
    $run "$arch" "$@"
    summary
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    cmd_e2e "$@"
fi
