#!/usr/bin/env bash
# The game's command line answers with no display to open a window on: --help, --help-all and --version
# print and exit 0, an unknown option is named and exits 1, and an answer that cannot be written fails.
# Started to play with no display, it says so and how to run it, and exits 1 rather than abort.
# Usage: command_line_without_a_display_test.sh GAME
set -uo pipefail
game=$1
bare=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$game")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect STATUS PATTERN ARGS...: the exit status and a line of standard output or error.
expect() {
  local status=$1 pattern=$2 out code
  shift 2
  out=$("${bare[@]}" "$@" 2>&1)
  code=$?
  [[ $code -eq $status ]] || fail "kazoomba $* exited $code, not $status: $out"
  grep -Eq -- "$pattern" <<<"$out" || fail "kazoomba $* did not print '$pattern': $out"
}
expect 0 '--help-all' --help
expect 0 '--help-all' -h
expect 0 '-platform|--platform <name' --help-all
expect 0 '^kazoomba [0-9]' --version
expect 1 "Unknown option 'no-such-option'" --no-such-option
expect 1 "Unknown option" -x
# Qt's own options are known, with their values, before a display is needed.
expect 0 '^kazoomba [0-9]' -style fusion --version

# No option: the game wants a window. Once through the xcb platform named, once as a user's terminal would
# start it, with Qt choosing the platform.
for platform in xcb ""; do
  if [[ -n $platform ]]; then choice=(QT_QPA_PLATFORM="$platform"); else choice=(-u QT_QPA_PLATFORM); fi
  out=$(timeout 30 env -u DISPLAY -u WAYLAND_DISPLAY "${choice[@]}" "$game" 2>&1)
  code=$?
  [[ $code -eq 1 ]] || fail "kazoomba with no display (platform '${platform:-chosen by Qt}') exited $code, not 1: $out"
  grep -q 'no display was found' <<<"$out" || fail "kazoomba with no display did not say so: $out"
  grep -q 'DISPLAY=:0 kazoomba' <<<"$out" || fail "kazoomba with no display did not say how to run it: $out"
  grep -q 'Reinstalling' <<<"$out" && fail "kazoomba with no display advised reinstalling: $out"
done

if [[ -w /dev/full ]]; then
  "${bare[@]}" --help >/dev/full 2>/dev/null && fail "kazoomba --help > /dev/full exited 0"
  "${bare[@]}" --version >/dev/full 2>/dev/null && fail "kazoomba --version > /dev/full exited 0"
fi
((failures == 0)) || exit 1
echo "-- the command line answers without a display"
