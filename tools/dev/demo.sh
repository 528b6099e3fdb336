#!/usr/bin/env bash
# ./dev demo [--arch x86_64|i686]: setup, build, then the plug-in in the stand-in host through the
# scripted sessions of tools/host (one monitor, two monitors, 200%); screenshots and logs in out/demo/.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

cmd_demo() {
    local start=$SECONDS arch=x86_64
    while (($#)); do
        case "$1" in
        --arch) arch=${2:-} && shift 2 ;;
        *) echo "demo takes --arch x86_64|i686" >&2 && exit 2 ;;
        esac
    done
    setup
    build
    use_arch "$arch"
    wine_boot
    rm -rf out/demo
    mkdir -p out/demo
    local demo_dir
    demo_dir=$(mktemp -d)
    mkdir -p "$demo_dir/plugins"
    cp "$E2E_DIR/gen_morvix.dll" "$demo_dir/plugins/"
    log "demo: $ARCH stand-in host in $demo_dir, script tools/host/demo.script"
    local rc=0
    (cd out/demo && timeout 300 xvfb-run -a \
        -s "-screen 0 1280x1024x24" "$WINE" "$ROOT/$E2E_DIR/morvix_host.exe" \
        --folder "$(winepath_of "$demo_dir")" --script "$(winepath_of "$ROOT/tools/host/demo.script")" \
        --out "$(winepath_of "$ROOT/out/demo")") || rc=$?
    timeout 60 $WINESERVER -w || true
    demo_two_monitors "$demo_dir" || rc=$?
    demo_scaled "$demo_dir" || rc=$?
    rm -rf "$demo_dir"
    log "demo output in $ROOT/out/demo ($((SECONDS - start)) s):"
    ls out/demo | sed 's/^/   /'
    [ -f out/demo/host_log.txt ] && echo "   request log: $ROOT/out/demo/host_log.txt"
    if [ "$rc" != 0 ]; then
        echo "demo failed (exit $rc); see out/demo/run.txt" >&2
        return "$rc"
    fi
}

# At 200% (192 DPI): tools/host/demo-200-percent.script on the same folder, on a screen of that scale.
demo_scaled() { # demo folder
    log "demo at 200% (192 DPI): tools/host/demo-200-percent.script"
    timeout 120 "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 || true
    timeout 60 $WINESERVER -w || true
    local rc=0
    (cd out/demo && timeout 300 xvfb-run -a -s "-screen 0 2560x1440x24" "$WINE" "$ROOT/$E2E_DIR/morvix_host.exe" \
        --folder "$(winepath_of "$1")" --script "$(winepath_of "$ROOT/tools/host/demo-200-percent.script")" \
        --out "$(winepath_of "$ROOT/out/demo")") || rc=$?
    timeout 60 $WINESERVER -w || true
    timeout 120 "$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    timeout 60 $WINESERVER -w || true
    return $rc
}

# The bar on the second of two monitors: tools/host/demo-two-monitors.script on the same folder.
demo_two_monitors() { # demo folder
    two_monitor_prefix on
    log "demo on two monitors: tools/host/demo-two-monitors.script"
    local rc=0
    (cd out/demo && with_two_monitors timeout 300 "$WINE" "$ROOT/$E2E_DIR/morvix_host.exe" \
        --folder "$(winepath_of "$1")" --script "$(winepath_of "$ROOT/tools/host/demo-two-monitors.script")" \
        --out "$(winepath_of "$ROOT/out/demo")") || rc=$?
    timeout 60 $WINESERVER -w || true
    two_monitor_prefix off
    return $rc
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    cmd_demo "$@"
fi
