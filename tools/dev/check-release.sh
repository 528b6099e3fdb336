#!/usr/bin/env bash
# The release checks: builds dist/, checks the zip, the installer's payload and the version resource,
# then runs the installer under Wine (check-installer.sh): the shipped 32-bit one under 32-bit Wine
# after an i686 run, else the same script for the 64-bit stub. ./dev test runs it last; run alone, this
# script builds first and uses 32-bit Wine.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
source "$(dirname "${BASH_SOURCE[0]}")/dist.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check-installer.sh"

# Checks what `dist` wrote, and runs the installer script (built for the 64-bit stub, which this machine
# can execute) silently under Wine against a scratch player folder.
check_dist() {
    cmd_dist
    local v dll=$BUILD/win32/gen_morvix.dll setup
    v=$(version)
    setup=dist/gen_morvix-$v-setup.exe
    log "checks of the release"
    check "zip holds exactly the DLL, the guide, the licence and the deviations" test \
        "$(zipinfo -1 "dist/gen_morvix-$v.zip" | sort | tr '\n' ' ')" = \
        "LICENSE.txt deviations.txt gen_morvix.dll user-guide.txt "
    check "zip's DLL is the built one" bash -c "unzip -p dist/gen_morvix-$v.zip gen_morvix.dll | cmp -s - $dll"
    check "installer is a 32-bit program" bash -c "i686-w64-mingw32-objdump -f $setup | grep -q 'file format pei-i386'"
    check "installer's payload holds the built DLL" bash -c "7zz e -so $setup Plugins/gen_morvix.dll | cmp -s - $dll"
    echo "         version resource: $(7zz l -slt "$dll" | grep -E '^(File|Product)Version:' | tr '\n' ' ')"
    check "version resource reads $v" version_resource_reads "$dll" "$v"
    check_installer_under_wine
}

version_resource_reads() { # dll, version
    local r
    r=$(7zz l -slt "$1")
    grep -qx "FileVersion: $2.0" <<<"$r" && grep -qx "FileVersion: $2" <<<"$r" &&
        grep -qx "ProductVersion: $2" <<<"$r" && grep -qx 'FileDescription: Morvix (gen_morvix.dll)' <<<"$r" &&
        grep -qx 'OriginalFilename: gen_morvix.dll' <<<"$r" && grep -q '^LegalCopyright: Copyright ' <<<"$r"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    setup
    build
    use_arch i686
    check_dist
    summary
fi
