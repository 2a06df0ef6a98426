#!/usr/bin/env bash
# A distribution that asks for its own _FORTIFY_SOURCE level in the compiler flags gets it: the build adds
# level 2 only when the flags name none, so level 3 is neither redefined nor silently lowered.
# Usage: fortify_level_test.sh SOURCE_DIR
set -uo pipefail
source=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kazoomba-fortify.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# configure NAME CXXFLAGS: the rules library alone, configured with those flags.
configure() {
  CXXFLAGS=$2 cmake -S "$source" -B "$scratch/$1" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAZOOMBA_WITH_GUI=OFF \
    -DKAZOOMBA_WITH_TESTS=OFF -DKAZOOMBA_WITH_BENCH=OFF >"$scratch/$1.log" 2>&1 ||
    { cat "$scratch/$1.log" >&2; fail "cmake could not configure with CXXFLAGS=$2"; return 1; }
}

if configure level3 "-O2 -D_FORTIFY_SOURCE=3"; then
  commands="$scratch/level3/compile_commands.json"
  grep -q -- '-D_FORTIFY_SOURCE=2' "$commands" && fail "level 2 is added to flags that ask for level 3"
  grep -q -- '-D_FORTIFY_SOURCE=3' "$commands" || fail "the flags' level 3 is not used"
  # One file compiled: no "redefined" warning.
  object=$(sed -n 's/.* -o \(src\/core\/[^ ]*\.o\) -c .*/\1/p' "$commands" | head -n 1)
  if [[ -n $object ]]; then
    out=$(ninja -C "$scratch/level3" "$object" 2>&1) || fail "compiling $object failed: $out"
    grep -q 'redefined' <<<"$out" && fail "the compiler warns of a redefinition: $out"
  else
    fail "no source of the rules library in $commands"
  fi
fi
if configure plain "-O2"; then
  grep -q -- '-D_FORTIFY_SOURCE=2' "$scratch/plain/compile_commands.json" || fail "without a level in the flags, level 2 is not added"
fi
((failures == 0)) || exit 1
echo "-- the flags' own fortify level is kept, and level 2 is the default"
