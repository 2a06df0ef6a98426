#!/usr/bin/env bash
# Simulates scripts/setup on a machine with jackd2 installed and no other package: a dpkg database made
# from apt's own records of jackd2 and what it needs, handed to setup with --admindir. Nothing is
# installed. The packages of scripts/packages.txt must go in without removing or downgrading anything, and
# the check itself must catch a list that would take JACK away: JACK1's library, which Debian 12's
# SDL2_mixer development package pulled in, and which every release has conflict with jackd2's.
# Usage: setup_keeps_jack_test.sh SOURCE_DIR
set -uo pipefail
source=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kazoomba-setup.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export LC_ALL=C

if ! apt-cache show jackd2 >/dev/null 2>&1; then
  echo "apt knows no jackd2 (no package lists: run apt-get update); skipped"
  exit 77
fi

# The packages apt would install for jackd2 on an empty machine, as name:arch=version.
: >"$scratch/empty"
apt-get -s -o "Dir::State::status=$scratch/empty" install --no-install-recommends jackd2 |
  sed -n 's/^Inst \([^ ]*\) (\([^ ]*\) .*\[\([a-z0-9]*\)\].*/\1:\3=\2/p' >"$scratch/jack"
[[ -s $scratch/jack ]] || { echo "FAIL: apt would install nothing for jackd2" >&2; exit 1; }

# Their records as installed packages: the fields that decide dependencies, with an installed status.
mkdir "$scratch/admin"
mapfile -t jack <"$scratch/jack"
apt-cache show "${jack[@]}" | awk '
  BEGIN { RS = ""; FS = "\n" }
  {
    name = ""
    for (i = 1; i <= NF; i++) if ($i ~ /^Package:/) name = $i
    if (name in seen) next
    seen[name] = 1
    keep = 0
    for (i = 1; i <= NF; i++) {
      if ($i ~ /^[ \t]/) { if (keep) print $i; continue }
      keep = ($i ~ /^(Package|Architecture|Version|Multi-Arch|Essential|Depends|Pre-Depends|Provides|Conflicts|Breaks|Replaces|Source):/)
      if (keep) print $i
      if ($i ~ /^Package:/) print "Status: install ok installed"
    }
    print ""
  }' >"$scratch/admin/status"
grep -q '^Package: jackd2$' "$scratch/admin/status" || { echo "FAIL: the made-up database has no jackd2" >&2; exit 1; }
echo "-- a machine with $(grep -c '^Package:' "$scratch/admin/status") packages: jackd2 and what it needs"

failures=0
echo "-- scripts/setup test --simulate"
if ! "$source/scripts/setup" test --simulate --admindir "$scratch/admin" >"$scratch/out" 2>&1; then
  cat "$scratch/out" >&2
  echo "FAIL: setup refuses, or apt would remove or downgrade a package, to install what the game needs" >&2
  failures=$((failures + 1))
fi
cat "$scratch/out"
grep -q 'and remove none' "$scratch/out" || { echo "FAIL: setup did not say apt would remove nothing" >&2; failures=$((failures + 1)); }

# The same check must refuse a list that would take JACK away: JACK1's library does, on every release.
echo "-- the same with libjack0, which must be refused"
mkdir "$scratch/scripts"
cp "$source/scripts/setup" "$scratch/scripts/"
sed 's/^libsdl2-dev$/libsdl2-dev\nlibjack0/' "$source/scripts/packages.txt" >"$scratch/scripts/packages.txt"
grep -qx libjack0 "$scratch/scripts/packages.txt" || { echo "FAIL: could not add libjack0 to the list" >&2; exit 1; }
if "$scratch/scripts/setup" run --simulate --admindir "$scratch/admin" >"$scratch/out" 2>&1; then
  cat "$scratch/out" >&2
  echo "FAIL: setup would let apt remove JACK for libjack0" >&2
  failures=$((failures + 1))
elif ! grep -q 'would remove packages you have: .*jackd2' "$scratch/out"; then
  cat "$scratch/out" >&2
  echo "FAIL: setup refused without naming jackd2" >&2
  failures=$((failures + 1))
elif ! grep -q '^  apt-get install --no-install-recommends .*libjack0' "$scratch/out"; then
  cat "$scratch/out" >&2
  echo "FAIL: setup refused without printing the command" >&2
  failures=$((failures + 1))
fi

((failures == 0)) || exit 1
echo "-- setup installs what the game needs beside JACK and refuses what would remove it"
