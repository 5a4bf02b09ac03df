#!/bin/sh
# usage: check_canaries.sh CANARY_SUITE_DIR
# Runs the canary tests through ctest and passes only if ctest fails both: the crash as a
# failure and the hang as a timeout, while a good run would have exited 0.
set -u
out=$(ctest --test-dir "$1" 2>&1); rc=$?
printf '%s\n' "$out"
fail() { echo "check_canaries: $*"; exit 1; }
[ "$rc" -ne 0 ] || fail "ctest exited 0 although the canaries crash and hang"
printf '%s\n' "$out" | grep -Eq 'crash_canary .*\*\*\*(Failed|Exception)' \
    || fail "the crashing canary was not reported as failed"
printf '%s\n' "$out" | grep -Eq 'hang_canary .*\*\*\*Timeout' \
    || fail "the hanging canary was not reported as timed out"
printf '%s\n' "$out" | grep -q '0% tests passed' \
    || fail "a canary was reported as passed"
echo "check_canaries: both canaries reported as failures"
