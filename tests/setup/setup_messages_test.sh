#!/usr/bin/env bash
# What scripts/setup tells a user who is not root when the install cannot be done: with sudo that refuses
# ("not in the sudoers file") and with an apt that fails, it prints the command to run as root, and apt's
# output goes to build/setup.log, named in one line. Runs setup as the user nobody with a stand-in sudo and
# an empty dpkg database, so everything is missing; nothing can be installed.
# Usage: setup_messages_test.sh SOURCE_DIR
set -uo pipefail
source=$1
if ((EUID != 0)); then echo "needs root to run setup as another user; skipped"; exit 77; fi
command -v setpriv >/dev/null || { echo "setpriv is missing; skipped"; exit 77; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kazoomba-setup-messages.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

mkdir -p "$scratch/project/scripts" "$scratch/admin" "$scratch/refusing" "$scratch/passing"
cp "$source/scripts/setup" "$source/scripts/packages.txt" "$scratch/project/scripts/"
: >"$scratch/admin/status"
printf '#!/bin/sh\necho "nobody is not in the sudoers file.  This incident will be reported." >&2\nexit 1\n' >"$scratch/refusing/sudo"
printf '#!/bin/sh\nexec "$@"\n' >"$scratch/passing/sudo"
chmod 755 "$scratch/refusing/sudo" "$scratch/passing/sudo"
chmod -R a+rX "$scratch" && chown -R nobody "$scratch/project"

# run_as_nobody SUDO_FOLDER: setup run, judged against the empty database, with that sudo first on the PATH.
run_as_nobody() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$1:/usr/sbin:/usr/bin:/sbin:/bin" \
    HOME="$scratch" LC_ALL=C "$scratch/project/scripts/setup" run --admindir "$scratch/admin" >"$scratch/out" 2>&1
}
root_command='^  apt-get update && apt-get install -y --no-install-recommends --no-remove .*qt6-base-dev'

echo "-- sudo refuses"
run_as_nobody "$scratch/refusing"
status=$?
cat "$scratch/out"
((status != 0)) || fail "setup exited 0 when sudo refused"
grep -q 'not in the sudoers file' "$scratch/out" || fail "sudo's own refusal was not shown"
grep -Eq "$root_command" "$scratch/out" || fail "no root command after sudo refused"

echo "-- apt fails"
run_as_nobody "$scratch/passing"
status=$?
cat "$scratch/out"
log="$scratch/project/build/setup.log"
((status != 0)) || fail "setup exited 0 when apt failed"
grep -Eq "$root_command" "$scratch/out" || fail "no root command after apt failed"
grep -qF "$log" "$scratch/out" || fail "the log $log is not named"
[[ -s $log ]] || fail "apt's output is not in $log"
(($(wc -l <"$scratch/out") < 30)) || fail "setup printed $(wc -l <"$scratch/out") lines; apt's output belongs in the log"

((failures == 0)) || exit 1
echo "-- setup names the root command and its log whenever the install cannot be done"
