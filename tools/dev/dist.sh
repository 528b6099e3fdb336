#!/usr/bin/env bash
# ./dev dist: setup, then the release from the i686 DLL: dist/gen_morvix-VERSION.zip (the DLL, the guide,
# the licence and the deviations, in CRLF text) and dist/gen_morvix-VERSION-setup.exe (installer/).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Text for a user of the player's platform: CRLF line ends, so that every editor shows the lines.
crlf() { sed 's/\r\{0,1\}$/\r/' "$1" >"$2"; }

# installer script, output file, version, DLL, extra makensis options...
make_installer() {
    local script=$1 out=$2 v=$3 dll=$4
    shift 4
    makensis -V2 -NOCD "-DVERSION=$v" "-DDLL=$dll" "-DOUTFILE=$out" "$@" \
        "$script" >"$BUILD/makensis.log" 2>&1 || { cat "$BUILD/makensis.log"; return 1; }
}

cmd_dist() {
    setup
    configure win32
    log "build win32 (release DLL)"
    cmake --build "$BUILD/win32" -j2 --target gen_morvix >"$BUILD/win32.log" 2>&1 || { tail -40 "$BUILD/win32.log"; exit 1; }
    local v stage=$BUILD/dist-stage
    v=$(version)
    rm -rf dist "$stage"
    mkdir -p dist "$stage"
    cp "$BUILD/win32/gen_morvix.dll" "$stage/"
    crlf docs/user-guide.md "$stage/user-guide.txt"
    crlf LICENSE "$stage/LICENSE.txt"
    crlf docs/deviations.md "$stage/deviations.txt"
    (cd "$stage" && zip -q -X "$ROOT/dist/gen_morvix-$v.zip" gen_morvix.dll user-guide.txt LICENSE.txt deviations.txt)
    make_installer installer/gen_morvix.nsi "$ROOT/dist/gen_morvix-$v-setup.exe" "$v" "$ROOT/$BUILD/win32/gen_morvix.dll"
    log "dist/ for version $v:"
    stat -c '   %n %s bytes' "$BUILD/win32/gen_morvix.dll" dist/*
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    cmd_dist
fi
