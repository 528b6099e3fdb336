#!/usr/bin/env bash
# A release check: a data file written by this version is read by the DLLs released as 1.0.0, 1.1.0 and
# 1.2.0 (each built from its commit) without losing a name or a position, a file of 1,000 entries too. ./dev test runs it; run alone, this
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
    for e in "$@"; do
        [[ $e == /* ]] || e=$folder/$e
        entries+=(--entry 600 "$(winepath_of "$e")")
    done
    (cd "$BUILD/win64" && timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$WINE" ./morvix_host.exe \
        --folder "$(winepath_of "$folder")" "${entries[@]}" --script "$(winepath_of "$folder/run.script")" \
        --out "$(winepath_of "$folder/out")") >"$folder/host.log" 2>&1 || true
    timeout 60 $WINESERVER -w 2>/dev/null || true
}

# The DLL released as version $1, built from its commit into $2/build-$1; false when it does not build.
old_dll() { # version, folder
    local v=$1 dir=$2 commit=RELEASED_${1//./_}
    commit=${!commit}
    rm -rf "$dir/src-$v"
    mkdir -p "$dir/src-$v"
    git archive "$commit" | tar -x -C "$dir/src-$v"
    (cd "$dir/src-$v" && cmake --preset win64 -B "$dir/build-$v" -DMORVIX_E2E=OFF >/dev/null 2>&1 &&
        cmake --build "$dir/build-$v" -j2 --target gen_morvix >"$dir/build-$v.log" 2>&1) ||
        { check "the $v DLL builds from $commit" false; return 1; }
}

# A data file written by this version, with the identities of the files it played, is read by the DLLs
# released as 1.0.0, 1.1.0 and 1.2.0 (built from those commits): each writes back at quit what it read,
# and the names and positions are the same.
check_old_readers() {
    use_arch x86_64
    log "a data file of this version read by the 1.0.0, 1.1.0 and 1.2.0 DLLs"
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
    for v in 1.0.0 1.1.0 1.2.0; do
        old=$dir/$v
        rm -rf "$old"
        mkdir -p "$old/plugins" "$old/media"
        old_dll "$v" "$dir" || continue
        cp "$dir/build-$v/gen_morvix.dll" "$old/plugins/"
        cp "$now/plugins/gen_morvix.dat" "$old/plugins/"
        cp "$now"/media/* "$old/media/"
        host_run "$old" quit media/first.mkv media/second.mkv media/third.mkv
        data_entries "$old/plugins/gen_morvix.dat" >"$dir/$v.txt" 2>/dev/null || true
        [ "$v" = 1.2.0 ] && kept=17 || kept=0
        check "$v read every name and position of this version's file, and wrote them back" test \
            "$(cut -f1,2 "$dir/now.txt")" = "$(cut -f1,2 "$dir/$v.txt")" -a \
            "$(cut -f3 "$dir/$v.txt" | sort -u)" = $kept
    done
    check_thousand_entries "$dir"
}

# With "Remember up to 1000 files" this version writes a file of 1,000 entries (here from one of the
# older layout it loaded, plus the file it played); every older DLL reads it whole: the least recent
# entry, the last in the file, resumes where the file says, and the 30 most recent come back as written.
check_thousand_entries() { # folder
    local dir=$1 big=$1/thousand media v old report
    rm -rf "$big"
    mkdir -p "$big/plugins"
    cp "$BUILD/win64/gen_morvix.dll" "$big/plugins/"
    printf '[gen_morvix]\r\nmaxfiles=1000\r\n' >"$big/winamp.ini"
    media=$(winepath_of "$big/media")
    python3 - "$big/plugins/gen_morvix.dat" "$media" <<'PY'
import struct, sys
out = struct.pack('<ii', 31, 1000)
for i in range(1000):
    name = ('%s\\f%04d.mkv' % (sys.argv[2], i)).encode('latin-1')
    out += struct.pack('<ii', 1, len(name)) + name + struct.pack('<i', 500 * i + 7)
open(sys.argv[1], 'wb').write(out)
PY
    host_run "$big" $'play\nwait 1500\nquit' media/new.mkv
    data_entries "$big/plugins/gen_morvix.dat" >"$dir/thousand.txt" 2>/dev/null || true
    check "this version wrote 1,000 entries, the file it played first" test \
        "$(wc -l <"$dir/thousand.txt")" = 1000 -a "$(head -1 "$dir/thousand.txt" | cut -f1)" = "$media\\new.mkv"
    for v in 1.0.0 1.1.0 1.2.0; do
        old=$dir/thousand-$v
        rm -rf "$old"
        mkdir -p "$old/plugins"
        cp "$dir/build-$v/gen_morvix.dll" "$big/plugins/gen_morvix.dat" "$old/plugins/" 2>/dev/null || continue
        host_run "$old" $'play\nwait 1500\nreport\nquit' "$big/media/f0998.mkv"
        report=$(grep -o 'report: entry 0 at [0-9]* ms' "$old/out/run.txt" 2>/dev/null | grep -o '[0-9]* ms' | cut -d' ' -f1)
        data_entries "$old/plugins/gen_morvix.dat" >"$old.txt" 2>/dev/null || true
        check "$v resumed the least recent of 1,000 entries where this version left it (499,007 ms: ${report:-none})" \
            test "${report:-0}" -ge 499007 -a "${report:-0}" -le 502007
        check "$v wrote back the 30 most recent of 1,000 as read" test \
            "$(sed -n 2,30p "$old.txt" | cut -f1,2)" = "$(head -29 "$dir/thousand.txt" | cut -f1,2)"
    done
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    setup
    build
    check_old_readers
    summary
fi
