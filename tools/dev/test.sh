#!/usr/bin/env bash
# ./dev test: setup, build, the native unit tests (run by CTest), the checks of the i686 DLL, the e2e
# runs and a 60 s soak under 64- and 32-bit Wine, the old readers and the release checks; ends with one
# "N passed, N failed" line (the exit code fails when anything failed).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/build.sh"
source "$(dirname "${BASH_SOURCE[0]}")/e2e.sh"
source "$(dirname "${BASH_SOURCE[0]}")/soak.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check-dll.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check-old-readers.sh"
source "$(dirname "${BASH_SOURCE[0]}")/check-release.sh"

# The native unit tests, one CTest test each (label "unit", registered in CMakeLists.txt).
run_unit() {
    log "native unit tests"
    local out=$BUILD/native/unit.log
    ctest --test-dir "$BUILD/native" -L unit -j2 --output-on-failure --no-label-summary --no-tests=error \
        >"$out" 2>&1 || true
    grep -E '^\[  FAILED  \]|Failure|error|\*\*\*|^The following tests FAILED' "$out" | head -40 || true
    grep -E '^[0-9]+% tests passed|^Total Test time' "$out" || true
    count_ctest "$out"
}

# Adds what one CTest run passed and failed to the counts, from its "N% tests passed, F tests failed out
# of T" line; a run without that line counts as one failure.
count_ctest() { # log file
    local line
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1 || true)
    if [ -z "$line" ]; then
        echo "(no test summary in $1: CTest did not run the tests)"
        FAILED=$((FAILED + 1))
        return
    fi
    local failed total
    failed=$(awk '{print $4}' <<<"$line")
    total=$(awk '{print $NF}' <<<"$line")
    PASSED=$((PASSED + total - failed))
    FAILED=$((FAILED + failed))
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
