#!/usr/bin/env bash
# ./dev setup: installs what a fresh Debian machine lacks, with apt (idempotent and quiet when done),
# and makes 32-bit Wine run here (through qemu-user where the kernel refuses 32-bit programs).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 wine64 xvfb xauth nsis zip 7zip
          xserver-xephyr)
# The shipping DLL is 32-bit: its end-to-end run needs 32-bit Wine, which these machines' kernels can
# only start through qemu-user (see setup32).
PACKAGES32=(wine32:i386 libxi6:i386 libxrandr2:i386 libxcursor1:i386 libxinerama1:i386 libxcomposite1:i386
            libxfixes3:i386 libxrender1:i386 libxxf86vm1:i386)
PACKAGES_QEMU=(qemu-user-static gcc-i686-linux-gnu libc6-dev-i386-cross)

setup() {
    install_missing "${PACKAGES[@]}"
    setup32
    use_arch "$ARCH" # now that setup32 knows whether qemu runs the 32-bit programs
}

install_missing() { # package...
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

die32() {
    echo "32-bit Wine cannot run on this machine: $*" >&2
    exit 1
}

# 32-bit Wine, and where the kernel refuses 32-bit programs, qemu-i386 registered for them and the
# library that mends qemu's faults. Writes qemu32/mode: native or qemu.
setup32() {
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        log "adding the i386 package architecture"
        $sudo dpkg --add-architecture i386 || die32 "dpkg --add-architecture i386 failed"
        $sudo apt-get update -qq
    fi
    install_missing "${PACKAGES32[@]}"
    mkdir -p "$BUILD/qemu32"
    local binfmt=/proc/sys/fs/binfmt_misc
    if [ ! -e $binfmt/qemu-i386 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo native >"$BUILD/qemu32/mode"
        return
    fi
    install_missing "${PACKAGES_QEMU[@]}"
    if [ ! -e $binfmt/register ]; then
        $sudo mount -t binfmt_misc binfmt_misc $binfmt 2>/dev/null ||
            die32 "the kernel refuses 32-bit programs and binfmt_misc cannot be mounted at $binfmt (needs root and a kernel with binfmt_misc)"
    fi
    if [ ! -e $binfmt/qemu-i386 ]; then
        log "registering qemu-i386 for 32-bit programs"
        # i386 executables and shared objects; P passes argv[0] on, F opens the interpreter now, so that
        # it works inside any mount namespace.
        local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        echo ":qemu-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:PF" | $sudo tee $binfmt/register >/dev/null 2>&1 ||
            die32 "$binfmt/register is not writable, so qemu-i386 cannot be registered for 32-bit programs"
    fi
    grep -qx enabled $binfmt/qemu-i386 || echo 1 | $sudo tee $binfmt/qemu-i386 >/dev/null ||
        die32 "the qemu-i386 entry of binfmt_misc is disabled and cannot be enabled"
    local lib
    for lib in i386-linux-gnu:i686-linux-gnu-gcc x86_64-linux-gnu:gcc; do
        local out="$BUILD/qemu32/lib/${lib%%:*}/libmorvix_qemu.so"
        if [ ! -f "$out" ] || [ tools/wine32/qemu_mend.c -nt "$out" ]; then
            mkdir -p "$(dirname "$out")"
            "${lib#*:}" -O2 -Wall -Wextra -shared -fPIC -o "$out" tools/wine32/qemu_mend.c -ldl ||
                die32 "the qemu mending library does not build"
        fi
    done
    /usr/lib/wine/wine --version >/dev/null 2>&1 || die32 "/usr/lib/wine/wine does not start through qemu-i386"
    echo qemu >"$BUILD/qemu32/mode"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    setup
fi
