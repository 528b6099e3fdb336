#!/usr/bin/env bash
# The checks of the built i686 release DLL: a 32-bit PE that imports system DLLs only and exports the one
# function, built small, within its size limit, with no exception machinery linked. ./dev test runs them;
# run alone, this script builds first.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

# The i686 release DLL may not grow beyond this many bytes (80 KiB): the host loads every plug-in at start.
DLL_SIZE_LIMIT=81920

check_dll() {
    local dll=$BUILD/win32/gen_morvix.dll od=i686-w64-mingw32-objdump
    log "checks of the i686 DLL ($(stat -c %s "$dll") bytes)"
    local headers
    headers=$($od -p "$dll")
    check "PE machine is i386" grep -q 'file format pei-i386' <<<"$headers"
    local imports
    imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$headers" | sort -u | tr '\n' ' ')
    echo "         imports: $imports"
    check "imports system DLLs only" bash -c \
        "! grep -q -v -E '^(kernel32|user32|gdi32|comctl32|msvcrt)\.dll\$' <<<'$(tr ' ' '\n' <<<"$imports" | sed '/^$/d')'"
    local exports
    exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/\[/{print $NF} f&&/^$/{f=0}' <<<"$headers")
    echo "         exports: $exports"
    check "exports exactly winampGetGeneralPurposePlugin" test "$exports" = "winampGetGeneralPurposePlugin"
    check "built -Os with unused sections dropped" bash -c \
        "grep -q -- '-Os' $BUILD/win32/build.ninja && grep -q -- '--gc-sections' $BUILD/win32/build.ninja"
}

# The DLL is built without exceptions; its link map shows that none of the runtime's exception, unwinding
# or demangling code came in with a library piece.
check_lean_dll() {
    local dll=$BUILD/win32/gen_morvix.dll size
    size=$(stat -c %s "$dll")
    log "the lean i686 DLL: $size bytes, limit $DLL_SIZE_LIMIT"
    check "i686 DLL within $DLL_SIZE_LIMIT bytes ($size)" test "$size" -le "$DLL_SIZE_LIMIT"
    check "no exception, unwind or demangler code linked" bash -c \
        "! grep -m 3 -E '__cxa_throw|__gxx_personality|_Unwind_RaiseException|__cxa_demangle' $BUILD/win32/gen_morvix.map"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    setup
    build
    check_dll
    check_lean_dll
    summary
fi
