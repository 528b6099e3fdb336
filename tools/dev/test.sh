#!/usr/bin/env bash
# ./dev test: setup, build, the native unit tests (through CTest), the checks of the i686 DLL, the e2e
# runs and a 60 s soak under 64- and 32-bit Wine, the old readers and the release checks; ends with one
# "N passed, N failed" line (the exit code fails when anything failed).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
source "$(dirname "${BASH_SOURCE[0]}")/e2e.sh"
source "$(dirname "${BASH_SOURCE[0]}")/soak.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check-dll.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check-old-readers.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check-release.sh"

run_unit() {
    log "native unit tests"
    local out=$BUILD/native/unit.log
    $BUILD/native/unit_tests --gtest_brief=1 >"$out" 2>&1 || true
    grep -E '^\[  FAILED  \]|Failure|error' "$out" | head -40 || true
    tail -3 "$out"
    count_gtest "$out"
}

cmd_test() {
    local start=$SECONDS
    setup
    build
    run_unit
    check_dll
    check_lean_dll
    run_e2e x86_64
    run_e2e_two_monitors x86_64
    run_e2e_scaled x86_64
    run_soak 60 x86_64
    check_old_readers
    run_e2e i686
    run_e2e_two_monitors i686
    run_e2e_scaled i686
    run_soak 60 i686 # the release checks then run the shipped installer in the same 32-bit Wine
    check_dist
    echo "test time: $((SECONDS - start)) s"
    summary
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    cmd_test
fi
