#!/usr/bin/env bash
# scripts/setup run by root in a checkout that belongs to a player, with everything missing and an apt that
# fails: it must not write through a link the player left at build/setup.log, must leave no file of root's
# in the player's tree (not even build/), and must still keep apt's output in a log it names. Run by the
# player through sudo, the log in build/ replaces such a link instead of writing where it points; and a
# build folder an older run as root left is named, with the command that gives it back.
# Nothing is installed: apt-get is a stand-in that prints a line and fails, and the dpkg database is empty.
# Usage: setup_as_root_test.sh SOURCE_DIR
set -uo pipefail
source=$1
if ((EUID != 0)); then echo "needs root; skipped"; exit 77; fi
command -v setpriv >/dev/null || { echo "setpriv is missing; skipped"; exit 77; }
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kazoomba-setup-root.XXXXXX")
logs_before=$(ls /tmp/kazoomba-setup.*.log 2>/dev/null)
cleanup() {
  rm -rf "$scratch"
  # The logs this test's runs left in /tmp.
  comm -13 <(sort <<<"$logs_before") <(ls /tmp/kazoomba-setup.*.log 2>/dev/null | sort) | xargs -r rm -f
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

mkdir -p "$scratch/bin" "$scratch/admin" "$scratch/victim"
: >"$scratch/admin/status"
printf '#!/bin/sh\necho "stand-in apt-get: $*"\nexit 100\n' >"$scratch/bin/apt-get"
printf '#!/bin/sh\nexec "$@"\n' >"$scratch/bin/sudo"
chmod 755 "$scratch/bin/apt-get" "$scratch/bin/sudo"
echo "root's own words" >"$scratch/victim/file"
chmod -R a+rX "$scratch"

# new_project NAME: a checkout owned by the player nobody.
new_project() {
  mkdir -p "$scratch/$1/scripts"
  cp "$source/scripts/setup" "$source/scripts/packages.txt" "$scratch/$1/scripts/"
  chown -R nobody:nogroup "$scratch/$1"
}
run_setup() {
  env -i PATH="$scratch/bin:/usr/sbin:/usr/bin:/sbin:/bin" HOME="$scratch" LC_ALL=C \
    "$@" run --admindir "$scratch/admin" >"$scratch/out" 2>&1
}

echo "-- root, in the player's checkout, with build/setup.log a link to root's file"
new_project linked
setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c \
  'mkdir "$1/build" && ln -s "$2" "$1/build/setup.log"' sh "$scratch/linked" "$scratch/victim/file"
run_setup "$scratch/linked/scripts/setup"
status=$?
cat "$scratch/out"
((status != 0)) || fail "setup exited 0 when apt failed"
[[ $(cat "$scratch/victim/file") == "root's own words" ]] || fail "root's file, linked from the player's tree, was written: $(head -c 200 "$scratch/victim/file")"
owned_by_root=$(find "$scratch/linked" -uid 0 -printf '%P\n')
[[ -z $owned_by_root ]] || fail "root left files in the player's tree: $owned_by_root"
[[ -L $scratch/linked/build/setup.log ]] || fail "the player's link was taken away or replaced by root"
log=$(grep -o '/tmp/kazoomba-setup\.[^ ]*\.log' "$scratch/out" | head -n 1)
if [[ -z $log ]]; then
  fail "no log under /tmp is named"
elif [[ ! -f $log || -L $log ]]; then
  fail "the named log $log is not a file"
else
  [[ $(stat -c %u "$log") == 0 ]] || fail "the log $log is not root's"
  grep -q 'stand-in apt-get: update' "$log" || fail "apt's output is not in $log"
fi

echo "-- root, in the player's checkout with no build folder"
new_project fresh
run_setup "$scratch/fresh/scripts/setup"
cat "$scratch/out"
[[ ! -e $scratch/fresh/build ]] || fail "root made $(stat -c '%n, owned by %U' "$scratch/fresh/build")"

echo "-- the player through sudo, with build/setup.log a link to another of the player's files"
new_project own
setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c \
  'mkdir "$1/build" && echo "the player'"'"'s notes" >"$1/notes" && ln -s ../notes "$1/build/setup.log"' sh "$scratch/own"
run_setup setpriv --reuid=nobody --regid=nogroup --clear-groups "$scratch/own/scripts/setup"
cat "$scratch/out"
[[ $(cat "$scratch/own/notes") == "the player's notes" ]] || fail "the link at build/setup.log was followed: $(head -c 200 "$scratch/own/notes")"
if [[ -L $scratch/own/build/setup.log || ! -f $scratch/own/build/setup.log ]]; then
  fail "build/setup.log is not a file of its own"
else
  grep -q 'stand-in apt-get: update' "$scratch/own/build/setup.log" || fail "apt's output is not in build/setup.log"
  [[ $(stat -c %U "$scratch/own/build/setup.log") == nobody ]] || fail "build/setup.log is not the player's"
fi

echo "-- the player, with a build folder an earlier run as root left"
new_project rooted
mkdir -p "$scratch/rooted/build/release"
run_setup setpriv --reuid=nobody --regid=nogroup --clear-groups "$scratch/rooted/scripts/setup"
status=$?
cat "$scratch/out"
((status != 0)) || fail "setup went on with a build folder the player cannot write"
grep -q "chown -R nobody: $scratch/rooted/build" "$scratch/out" || fail "setup did not say how to give the build folder back"
grep -q 'stand-in apt-get' "$scratch/out" && fail "setup ran apt before saying the build folder is not the player's"

((failures == 0)) || exit 1
echo "-- run by root, setup writes nothing in the player's tree and follows no link there"
