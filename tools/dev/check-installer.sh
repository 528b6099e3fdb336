# shellcheck shell=bash
# A release check: the installer and uninstaller under Wine on the paths a person takes (upgrades over
# 1.2.0, 1.1.0 and 1.0.0, two player folders, keeping or removing the data, a running player, the pages driven
# as a person would). check-release.sh runs it after building dist/.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/dist.sh"

# A program of the release under Wine with a deadline; afterwards every process it started has ended
# and Wine has saved the registry. Sets rc to the program's exit code.
wine_release() { # program, arguments...
    rc=0
    timeout 120 "$WINE" "$@" || rc=$?
    timeout 120 $WINESERVER -w || true
}

# Works the windows of a program as a person does, step by step (tools/page_driver), under a display
# and a deadline. Sets rc to the program's exit code (90: a step was not done; the log shows the windows).
drive_pages() { # steps (one a line), Windows path of the program, arguments...
    local script=$ROOT/$BUILD/pages.script
    printf '%s\n' "$1" >"$script"
    shift
    rc=0
    (cd "$E2E_DIR" && timeout 400 xvfb-run -a -s "-screen 0 1280x1024x24" "$WINE" ./page_driver.exe \
        "$(winepath_of "$script")" "$@") >"$BUILD/pages.log" 2>&1 || rc=$?
    timeout 120 $WINESERVER -w || true
    [ "$rc" = 90 ] && sed 's/^/         /' "$BUILD/pages.log"
    return 0
}

# gen_morvix's uninstall entries as Wine saved them: "key folder version", one line each, sorted.
uninstall_entries() {
    awk '/^\[/ { key = "" }
         /^\[.*\\\\Uninstall\\\\gen_morvix[^\\]*\]/ { key = $1; sub(/.*\\\\/, "", key); sub(/\]$/, "", key); seen[key] = 1 }
         key != "" && /^"(InstallLocation|DisplayVersion)"=/ {
             v = $0; sub(/^"[A-Za-z]*"="/, "", v); sub(/"$/, "", v); gsub(/\\\\/, "\\", v)
             if ($0 ~ /^"InstallLocation"/) loc[key] = v; else ver[key] = v }
         END { for (k in seen) print k, loc[k], ver[k] }' "$WINEPREFIX/system.reg" | sort | tr '\n' ';'
}

# What the plug-in leaves in an INI directory: settings among the player's own, and the data file with
# the temporary names a write uses.
put_data() { # folder
    mkdir -p "$1/Plugins"
    printf '[Winamp]\r\nskin=x\r\n[gen_morvix]\r\nbookmark=1\r\n[other]\r\nkept=1\r\n' >"$1/winamp.ini"
    echo positions >"$1/Plugins/gen_morvix.dat"
    echo half >"$1/Plugins/gen_morvix.dat.new"
    echo half >"$1/Plugins/gen_morvix.da~"
}

data_kept() { # folder
    grep -q '^\[gen_morvix\]' "$1/winamp.ini" && grep -qx positions "$1/Plugins/gen_morvix.dat"
}

data_removed() { # folder: only the plug-in's part is gone
    ! grep -q gen_morvix "$1/winamp.ini" && grep -q '^kept=1' "$1/winamp.ini" &&
        test -z "$(ls -A "$1/Plugins")"
}

# An older release's own script around a stand-in DLL installed silently into a folder, then this version
# over it: what an upgrade keeps or replaces is the installer's doing, and the stand-in's bytes show that
# the DLL was replaced. Uses setup, dll, what and target64 of the caller.
upgrade_over() { # old version, its commit, folder
    local old=$ROOT/$BUILD/setup-$1.exe stand_in=$ROOT/$BUILD/stand-in-$1.dll t old_uninstaller same_script
    if ! git show "$2:installer/gen_morvix.nsi" >"$BUILD/gen_morvix-$1.nsi" 2>/dev/null; then
        check "the $1 installer script is in the git history ($2)" false
        return 1
    fi
    echo "gen_morvix $1 stand-in" >"$stand_in"
    make_installer "$BUILD/gen_morvix-$1.nsi" "$old" "$1" "$stand_in" "${target64[@]}"
    t=$(winepath_of "$3")
    log "$what under $ARCH Wine: $1 in $3, then this version"
    wine_release "$old" /S "/D=$t"
    check "$1 installs silently (exit $rc)" bash -c "test $rc = 0 && cmp -s '$3/Plugins/gen_morvix.dll' '$stand_in'"
    put_data "$3"
    old_uninstaller=$(cksum <"$3/uninstall_gen_morvix.exe")
    wine_release "$setup" /S "/D=$t"
    # An uninstaller made from the same script as ours may be the same bytes: only a changed one must differ.
    same_script=$(cmp -s "$BUILD/gen_morvix-$1.nsi" installer/gen_morvix.nsi && echo true || echo false)
    check "the upgrade over $1 exits 0 ($rc) and replaces the DLL and the uninstaller" bash -c \
        "test $rc = 0 && cmp -s '$3/Plugins/gen_morvix.dll' '$dll' && { $same_script || test '$(cksum <"$3/uninstall_gen_morvix.exe")' != '$old_uninstaller'; }"
    check "the upgrade keeps the positions and the settings" data_kept "$3"
    check "the folder keeps its one entry, now $(version): $(uninstall_entries)" test "$(uninstall_entries)" = "gen_morvix $t $(version);"
}

# The installer and uninstaller under Wine on the paths a person takes: an upgrade over 1.0.0, a second
# player folder, silent uninstalls that keep or remove the data (in the player folder and the per-user
# one), refusals while the player runs, and the pages driven as a person would.
check_installer_under_wine() {
    local v setup what="the shipped 32-bit installer" target64=()
    v=$(version)
    setup=$ROOT/dist/gen_morvix-$v-setup.exe
    local a=$ROOT/$BUILD/scratch-player b=$ROOT/$BUILD/scratch-player-2 none=$ROOT/$BUILD/scratch-nothing
    local dll=$BUILD/win32/gen_morvix.dll
    if [ "$ARCH" != i686 ]; then # no 32-bit Wine: the same script for the 64-bit stub
        setup=$ROOT/$BUILD/setup64.exe what="the 64-bit build of the script"
        target64=(-DTARGET64)
        make_installer installer/gen_morvix.nsi "$setup" "$v" "$ROOT/$dll" -DTARGET64
    fi
    wine_boot
    local roaming user
    roaming=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming | grep -v /Public/ | head -1)
    user=$roaming/Winamp
    if [ -n "$(uninstall_entries)" ]; then # left by an earlier run that failed half-way
        local key
        for key in $(uninstall_entries | tr ';' '\n' | cut -d' ' -f1); do
            timeout 120 "$WINE" reg delete "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$key" /f >/dev/null 2>&1 || true
        done
        timeout 120 $WINESERVER -w || true
    fi
    rm -rf "$a" "$b" "$none" "$user"
    mkdir -p "$a/Plugins" "$b/Plugins" "$none"
    local ta tb
    ta=$(winepath_of "$a")
    tb=$(winepath_of "$b")

    # 1.2.0, then 1.1.0 in the second folder, each upgraded and uninstalled (keeping its data); then 1.0.0
    # in the first, upgraded, for the paths below.
    upgrade_over 1.2.0 "$RELEASED_1_2_0" "$b" || return 0
    wine_release "$b/uninstall_gen_morvix.exe" /S
    check "... and its silent uninstall leaves no entry: '$(uninstall_entries)'" test -z "$(uninstall_entries)"
    rm -rf "$b" && mkdir -p "$b/Plugins"
    upgrade_over 1.1.0 "$RELEASED_1_1_0" "$b" || return 0
    wine_release "$b/uninstall_gen_morvix.exe" /S
    check "... and its silent uninstall leaves no entry: '$(uninstall_entries)'" test -z "$(uninstall_entries)"
    rm -rf "$b" && mkdir -p "$b/Plugins"
    upgrade_over 1.0.0 "$RELEASED_1_0_0" "$a" || return 0

    wine_release "$setup" /S "/D=$tb"
    check "a second folder gets its own entry: $(uninstall_entries)" bash -c \
        "test $rc = 0 && test '$(uninstall_entries)' = 'gen_morvix $ta $v;gen_morvix-2 $tb $v;' && cmp -s '$b/Plugins/gen_morvix.dll' '$dll'"

    # The uninstaller runs in place (_?=) so that its exit code is its own.
    drive_pages $'player open\nstart' "$(winepath_of "$a/uninstall_gen_morvix.exe")" /S /REMOVEDATA "_?=$ta"
    check "the uninstaller refuses while the player runs (exit $rc), nothing removed" bash -c \
        "test $rc = 2 && test -f '$a/Plugins/gen_morvix.dll' && test '$(uninstall_entries)' = 'gen_morvix $ta $v;gen_morvix-2 $tb $v;'"
    check "... and the refused uninstall keeps the data" data_kept "$a"

    wine_release "$a/uninstall_gen_morvix.exe" /S
    check "silent uninstall removes the DLL and the uninstaller" bash -c \
        "! test -e '$a/Plugins/gen_morvix.dll' && ! test -e '$a/uninstall_gen_morvix.exe'"
    check "silent uninstall keeps the positions and the settings by default" data_kept "$a"
    check "... and removes its own folder's entry only: $(uninstall_entries)" bash -c \
        "test '$(uninstall_entries)' = 'gen_morvix-2 $tb $v;' && test -f '$b/Plugins/gen_morvix.dll'"

    put_data "$b"
    put_data "$user"
    wine_release "$b/uninstall_gen_morvix.exe" /S /REMOVEDATA
    check "uninstall /S /REMOVEDATA removes the data in the player folder and in the per-user one, nothing else" \
        bash -c "$(declare -f data_removed); data_removed '$b' && data_removed '$user' && ! test -e '$b/Plugins/gen_morvix.dll'"
    check "... and the last entry: '$(uninstall_entries)'" test -z "$(uninstall_entries)"

    wine_release "$setup" /S "/D=$(winepath_of "$none")"
    check "a folder without Plugins is refused (exit $rc), nothing written" bash -c \
        "test '$rc' = 2 && test -z \"\$(ls -A '$none')\""
    drive_pages $'player open\nstart' "$(winepath_of "$setup")" /S "/D=$ta"
    check "a running player is refused (exit $rc), nothing installed" bash -c \
        "test '$rc' = 2 && ! test -e '$a/Plugins/gen_morvix.dll'"

    log "the pages of $what, driven with window messages"
    drive_pages "start
type $(winepath_of "$none")
click Install
expect There is no Plugins folder
click OK
type $ta
player open
click Install
expect Winamp is running
player close
click Retry
click Finish" "$(winepath_of "$setup")"
    check "setup's pages: a folder without Plugins, then the player folder; a player started meanwhile is met at the copy, Retry installs (exit $rc)" \
        bash -c "test '$rc' = 0 && cmp -s '$a/Plugins/gen_morvix.dll' '$dll' && test -z \"\$(ls -A '$none')\""
    put_data "$user"
    drive_pages "start
click Uninstall
expect $ta (Plugins\\gen_morvix.dat, [gen_morvix] in winamp.ini)
expect AppData\\Roaming\\Winamp (Plugins\\gen_morvix.dat, [gen_morvix] in winamp.ini)
click Yes
click Close
gone Morvix" "$(winepath_of "$a/uninstall_gen_morvix.exe")"
    check "the uninstaller's question names both folders with data; Yes removes it there (exit $rc)" \
        bash -c "$(declare -f data_removed); test '$rc' = 0 && data_removed '$a' && data_removed '$user' && ! test -e '$a/Plugins/gen_morvix.dll'"
    wine_release "$setup" /S "/D=$ta"
    drive_pages "start
click Uninstall
expect No remembered positions or settings were found in
click OK
click Close
gone Morvix" "$(winepath_of "$a/uninstall_gen_morvix.exe")"
    check "with no data in either folder the uninstaller says where it looked, asks nothing, removes the DLL (exit $rc)" \
        bash -c "test '$rc' = 0 && ! test -e '$a/Plugins/gen_morvix.dll'"
    rm -rf "$a" "$b" "$none" "$user"
}
