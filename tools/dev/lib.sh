# shellcheck shell=bash
# The helpers several ./dev commands share: the build folder and Wine's environment, the architecture a
# run uses, logging, configuring a preset, booting and running Wine, two monitors, and the pass/fail
# counts of a run. Every script in tools/dev sources this file first; it is not run on its own.
[ -z "${MORVIX_DEV_LIB:-}" ] || return 0
MORVIX_DEV_LIB=1
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
ROOT=$PWD
# Separate build trees let several people build at once: MORVIX_BUILD=build/mine ./dev test
BUILD=${MORVIX_BUILD:-build}
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEPREFIX="$ROOT/$BUILD/wineprefix"
export WINEDLLOVERRIDES="mscoree=;mshtml=;winedbg.exe=d"

# Selects the Wine loader and the build folder of one architecture: x86_64 (the default) or i686. Both
# share one 64-bit prefix: a 32-bit program runs in it as under 64-bit Windows, while the desktop
# and services stay 64-bit, out of qemu's reach.
use_arch() {
    ARCH=$1
    case "$ARCH" in
    x86_64) WINE=/usr/lib/wine/wine64 E2E_DIR=$BUILD/win64 ;;
    i686) WINE=/usr/lib/wine/wine E2E_DIR=$BUILD/win32-e2e ;;
    *) echo "unknown architecture $ARCH (x86_64 or i686)" >&2 && exit 2 ;;
    esac
    if [ -f "$BUILD/qemu32/mode" ] && [ "$(cat "$BUILD/qemu32/mode")" = qemu ]; then
        # $LIB gives 32-bit processes the mending library and 64-bit ones (wineserver, Xvfb) an empty one.
        export LD_PRELOAD="$ROOT/$BUILD/qemu32/\$LIB/libmorvix_qemu.so"
    fi
}
use_arch x86_64

log() { printf '== %s\n' "$*"; }

version() { tr -d ' \r\n' <VERSION; }

winepath_of() { echo "Z:$(echo "$1" | tr / '\\')"; }

configure() { # preset [cmake arguments]
    local preset=$1
    shift
    mkdir -p "$BUILD"
    [ -f "$BUILD/$preset/build.ninja" ] || cmake --preset "$preset" -B "$BUILD/$preset" "$@" \
        >"$BUILD/$preset.configure.log" 2>&1 || { cat "$BUILD/$preset.configure.log"; exit 1; }
}

wine_boot() {
    local wine64=/usr/lib/wine/wine64 start=$SECONDS
    # A prefix booted before 32-bit Wine was installed lacks the 32-bit system folder: boot it anew.
    if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        log "booting the Wine prefix (64-bit, with 32-bit support)"
        mkdir -p "$WINEPREFIX"
        timeout 900 $wine64 wineboot -i >/dev/null 2>&1 || true
        timeout 120 $WINESERVER -w || true
    fi
    # Xvfb runs no window manager, and Wine waits 2 s for one each time it hides a managed window;
    # unmanaged windows hide at once, which keeps the end-to-end tests fast.
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        timeout 120 $wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        timeout 120 $WINESERVER -w || true
    fi
    ((SECONDS - start < 2)) || echo "   prefix ready in $((SECONDS - start)) s"
}

# Runs a Windows program under one Xvfb display; arguments after the program are passed on.
wine_run() {
    xvfb-run -a -s "-screen 0 1280x1024x24" "$WINE" "$@"
}

# Two monitors as Wine sees them here: an Xephyr with two screens side by side and Xinerama, nested in an
# Xvfb (plain Xvfb screens make one monitor). Wine reads Xinerama only with XRandR off, and only from the
# prefix-wide key (not from an application's defaults): it is set for the two-monitor runs alone and
# taken away again, so every other run keeps XRandR.
two_monitor_prefix() { # on|off
    if [ "$1" = on ]; then
        timeout 120 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1 || true
    else
        timeout 120 "$WINE" reg delete 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /f >/dev/null 2>&1 || true
    fi
    timeout 120 $WINESERVER -w || true
}

# Runs a command under two monitors: 1280x1024 primary, 1024x768 to its right.
with_two_monitors() { # command...
    xvfb-run -a -s "-screen 0 2600x1200x24" bash -c '
        d=50
        while [ -e /tmp/.X$d-lock ] || [ -e /tmp/.X11-unix/X$d ]; do d=$((d + 1)); done
        Xephyr :$d -ac -nolisten tcp -screen 1280x1024 -screen 1024x768 +xinerama >/dev/null 2>&1 &
        xephyr=$!
        for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$d ] && break; sleep 0.1; done
        rc=0
        DISPLAY=:$d "$@" || rc=$?
        kill $xephyr 2>/dev/null; wait $xephyr 2>/dev/null
        exit $rc' two-monitors "$@"
}

PASSED=0
FAILED=0
count_gtest() { # log file
    local ran p
    ran=$(grep -E '^\[==========\] [0-9]+ tests? from' "$1" | tail -1 | awk '{print $2}' || true)
    p=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$1" | tail -1 | awk '{print $4}' || true)
    if [ -z "$ran" ]; then
        echo "(no test summary in $1: the test program did not finish)"
        FAILED=$((FAILED + 1))
        return
    fi
    PASSED=$((PASSED + ${p:-0}))
    FAILED=$((FAILED + ran - ${p:-0}))
}

check() { # description, command...
    local what=$1
    shift
    if "$@"; then
        PASSED=$((PASSED + 1))
        echo "[  OK  ] $what"
    else
        FAILED=$((FAILED + 1))
        echo "[ FAIL ] $what"
    fi
}

# The closing line of a run that counts: "N passed, N failed"; fails when anything did.
summary() {
    echo "$PASSED passed, $FAILED failed"
    [ "$FAILED" = 0 ]
}

# The commits released as 1.0.0, 1.1.0 and 1.2.0: the upgrade checks build those commits' installer scripts,
# the old readers' check their DLLs.
RELEASED_1_0_0=995c16ce70c1457298f9d5a30af086d2b6342b0b
RELEASED_1_1_0=a8c6d672523f6be307da3aaa4a5b10a3d3710bd4
RELEASED_1_2_0=f254906a8d4109477218773b6d84ebb0f36e6e3c
