#!/usr/bin/env bash
# A release check: a data file written by this version is read by the DLLs released as 1.0.0 and 1.1.0
# (each built from its commit) without losing a name or a position. ./dev test runs it; run alone, this
# script builds first.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

# The names and positions of a data file as a reader that ends each name at its first zero byte sees
# them (every release so far), one "name<TAB>position<TAB>bytes after the name" line each.
data_entries() { # data file
    python3 - "$1" <<'PY'
import struct, sys
b = open(sys.argv[1], 'rb').read()
at = 0
def word():
    global at
    at += 4
    return struct.unpack_from('<i', b, at - 4)[0]
first = word()
count = word() if first > 30 else first
for _ in range(count):
    if first > 30:
        word()
    length = word()
    field = b[at:at + length]
    at += length
    name = field.split(b'\0')[0]
    print('%s\t%d\t%d' % (name.decode('latin-1'), word(), len(field) - len(name)))
PY
}

# The stand-in host with one DLL on a folder, through a script, under a deadline.
host_run() { # folder, script text, entries...
    local folder=$1 script=$2
    shift 2
    printf '%s\n' "$script" >"$folder/run.script"
    local entries=()
    for e in "$@"; do entries+=(--entry 600 "$(winepath_of "$folder/$e")"); done
    (cd "$BUILD/win64" && timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$WINE" ./morvix_host.exe \
        --folder "$(winepath_of "$folder")" "${entries[@]}" --script "$(winepath_of "$folder/run.script")" \
        --out "$(winepath_of "$folder/out")") >"$folder/host.log" 2>&1 || true
    timeout 60 $WINESERVER -w 2>/dev/null || true
}

# A data file written by this version, with the identities of the files it played, is read by the DLLs
# released as 1.0.0 and 1.1.0 (built from those commits): each writes back at quit what it read, without
# the identities, and the names and positions are the same.
check_old_readers() {
    use_arch x86_64
    log "a data file of this version read by the 1.0.0 and 1.1.0 DLLs"
    local dir=$ROOT/$BUILD/old-readers now v commit old
    rm -rf "$dir/now"
    now=$dir/now
    mkdir -p "$now/plugins" "$now/media"
    cp "$BUILD/win64/gen_morvix.dll" "$now/plugins/"
    for f in first second third; do head -c 300000 /dev/urandom >"$now/media/$f.mkv"; done
    host_run "$now" $'play\nseek 125000\nwait 1500\nnext\nseek 61000\nwait 1500\nnext\nseek 7000\nwait 1500\nquit' \
        media/first.mkv media/second.mkv media/third.mkv
    data_entries "$now/plugins/gen_morvix.dat" >"$dir/now.txt" 2>/dev/null || true
    sed 's/^/         /' "$dir/now.txt"
    check "this version wrote the three files, each with its identity" \
        test "$(awk -F'\t' '$3 == 17' "$dir/now.txt" | wc -l)" = 3
    for v in 1.0.0 1.1.0; do
        commit=RELEASED_${v//./_}
        commit=${!commit}
        old=$dir/$v
        rm -rf "$old" "$dir/src-$v"
        mkdir -p "$old/plugins" "$old/media" "$dir/src-$v"
        git archive "$commit" | tar -x -C "$dir/src-$v"
        if ! (cd "$dir/src-$v" && cmake --preset win64 -B "$dir/build-$v" -DMORVIX_E2E=OFF >/dev/null 2>&1 &&
            cmake --build "$dir/build-$v" -j2 --target gen_morvix >"$dir/build-$v.log" 2>&1); then
            check "the $v DLL builds from $commit" false
            continue
        fi
        cp "$dir/build-$v/gen_morvix.dll" "$old/plugins/"
        cp "$now/plugins/gen_morvix.dat" "$old/plugins/"
        cp "$now"/media/* "$old/media/"
        host_run "$old" quit media/first.mkv media/second.mkv media/third.mkv
        data_entries "$old/plugins/gen_morvix.dat" >"$dir/$v.txt" 2>/dev/null || true
        check "$v read every name and position of this version's file, and wrote them back" test \
            "$(cut -f1,2 "$dir/now.txt")" = "$(cut -f1,2 "$dir/$v.txt")" -a \
            "$(cut -f3 "$dir/$v.txt" | sort -u)" = 0
    done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    setup
    build
    check_old_readers
    summary
fi
