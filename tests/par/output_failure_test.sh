#!/usr/bin/env bash
# kazoomba-par's figures that cannot be written are a failure: each way of printing, sent to /dev/full,
# exits non-zero and says why on standard error; the same sent to a pipe exits 0.
# Usage: output_failure_test.sh KAZOOMBA_PAR [--single-wager]
# With --single-wager the table of every wager is left out: unoptimized, under the sanitizers, it takes
# minutes to work out, and it is written through the same calls as one wager's figures.
set -uo pipefail
par=$1
forms=("--help" "--version" "--coins all" "--coins all --json" "--coins 8 --sessions 0" "--coins 8 --sessions 0 --json")
[[ ${2:-} == --single-wager ]] && forms=("--help" "--version" "--coins 8 --sessions 0" "--coins 8 --sessions 0 --json")
[[ -w /dev/full ]] || { echo "no /dev/full here; skipped"; exit 77; }
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for args in "${forms[@]}"; do
  # shellcheck disable=SC2086 # the options are words
  out=$("$par" $args </dev/null 2>&1 >/dev/full)
  code=$?
  ((code != 0)) || fail "kazoomba-par $args > /dev/full exited 0"
  grep -q 'could not write to standard output: No space left on device' <<<"$out" ||
    fail "kazoomba-par $args > /dev/full did not say why: $out"
  # shellcheck disable=SC2086
  "$par" $args </dev/null | cat >/dev/null
  code=${PIPESTATUS[0]}
  ((code == 0)) || fail "kazoomba-par $args exited $code writing to a pipe"
done
((failures == 0)) || exit 1
echo "-- kazoomba-par fails, and says so, when its output cannot be written"
