#!/usr/bin/env bash
# ./dev bench: setup, build, then one table of every cost the plug-in adds to the player, each figure
# beside its reference from the same run (bench/README.md reads each row).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

# One table of what the plug-in costs the player, every figure beside its reference from the same run.
# The raw output of each benchmark program is kept in $BUILD/bench/.
cmd_bench() {
    setup
    build
    use_arch x86_64
    wine_boot
    local out=$BUILD/bench rows
    mkdir -p "$out"
    rows=$out/rows.tsv
    : >"$rows"
    log "host costs under Wine (bench/host)"
    (cd $BUILD/win64 && wine_run ./host_bench.exe) >"$out/host.log" 2>&1 || true
    grep $'^ROW\t' "$out/host.log" | cut -f2- >>"$rows" || true
    log "slider paint and data-file save under Wine (bench/win)"
    (cd $BUILD/win64 && wine_run ./win_bench.exe) >"$out/win.log" 2>&1 || true
    paint_rows "$out/win.log" >>"$rows"
    log "native benchmarks (bench/)"
    # The native tests run under the undefined-behaviour sanitizer; the benchmarks measure a plain build.
    local plain=$BUILD/native-bench
    [ -f $plain/build.ninja ] || cmake --preset native -B $plain -DMORVIX_UBSAN=OFF >/dev/null
    cmake --build $plain -j2 --target native_bench >/dev/null
    $plain/native_bench --benchmark_format=csv >"$out/native.csv" 2>"$out/native.log" || true
    memory_rows "$out/native.csv" "$out/win.log" >>"$rows"
    slow_disk_rows "$out/win.log" >>"$rows"
    size_row >>"$rows"
    log "what the plug-in costs the player (ratios are the claims; bench/README.md reads each row)"
    awk -F'\t' 'BEGIN { printf "%-48s | %-50s | %-46s | %s\n", "what", "figure", "reference", "ratio";
                        printf "%s\n", "-------------------------------------------------+----------------------------------------------------+------------------------------------------------+------" }
                { printf "%-48s | %-50s | %-46s | %s\n", $1, $2, $3, $4 }' "$rows"
    # What host_bench says besides its rows: a row it could not measure, or a count that is not what it must be.
    grep -v -E $'^ROW\t|^X connection' "$out/host.log" | sed 's/^/   host_bench: /' || true
}

# Each slider's owner-drawn paint against the default trackbar paint, best batch of each, from win_bench.
paint_rows() { # win_bench log
    awk '/^one full paint into a memory context/ { path = "memory context" }
         /^one full paint on screen/ { path = "on screen" }
         /best: default/ { for (i = 1; i <= NF; i++) { if ($i == "default") d = $(i + 1); if ($i == "owner-drawn") o = $(i + 1) }
                           printf "paint, %s slider (%s)\t%s us owner-drawn\t%s us default trackbar paint\t%.2f\n", $1, path, o, d, o / d }' "$1"
}

# A track change with 30 remembered files against 100,000; one save of the data file against the track
# change it follows (the save figure comes from win_bench's save line, when it has one).
memory_rows() { # native csv, win_bench log
    local small large save
    small=$(awk -F, '$1 == "\"BM_TrackChange/30\"" { print $4 }' "$1")
    large=$(awk -F, '$1 == "\"BM_TrackChange/100000\"" { print $4 }' "$1")
    if [ -n "$small" ] && [ -n "$large" ]; then
        awk -v s="$small" -v l="$large" 'BEGIN { printf "track change, 100,000 files remembered\t%.0f ns\t%.0f ns with 30 files\t%.2f\n", l, s, l / s }'
    else
        printf 'track change, 100,000 files remembered\tnot measured (see %s)\t\t\n' "$BUILD/bench/native.log"
    fi
    save=$(sed -n 's/^one data-file save.*median \([0-9.]*\) us.*/\1/p' "$2" | head -1)
    if [ -n "$save" ] && [ -n "$small" ]; then
        awk -v v="$save" -v s="$small" 'BEGIN { printf "data-file save, real file store (median of 100)\t%.1f us\t%.2f us track change, 30 files\t%.0f\n", v, s / 1000, v * 1000 / s }'
    else
        printf 'data-file save, real file store (median of 100)\tnot measured: win_bench printed no save line\t\t\n'
    fi
}

# The host's thread on a disk that takes 200 ms a call: a track change that has a file read for its identity
# against one that has none, and the clock's 30-second write against one disk call (from win_bench).
slow_disk_rows() { # win_bench log
    awk '/^slow disk/ { for (i = 1; i <= NF; i++) { if ($i == "median" && $(i - 1) == "change") f = $(i + 1)
                                                   if ($i == "without;") s = $(i - 2)
                                                   if ($i == "median" && $(i - 1) == "write") w = $(i + 1) }
                        printf "track change, slow disk, identity read\t%s us host thread\t%s us without identities\t%.2f\n", f, s, f / s
                        printf "30-second write, slow disk\t%s us host thread\t200000 us, one disk call\t%.5f\n", w, w / 200000; found = 1 }
         END { if (!found) print "track change, slow disk, identity read\tnot measured: win_bench printed no slow-disk line\t\t" }' "$1"
}

size_row() {
    local size base
    size=$(stat -c %s "$BUILD/win32/gen_morvix.dll")
    base=$(grep -v '^#' bench/baseline.txt | head -1)
    awk -v s="$size" -v b="$base" 'BEGIN { printf "i686 DLL size\t%d bytes\t%d bytes, last release (bench/baseline.txt)\t%.3f\n", s, b, s / b }'
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    cmd_bench
fi
