#!/usr/bin/env bash
# A plain `cmake --install` (into ~/.local, say) installs the game, its data, launcher, metadata, icons and
# manual pages, and none of the files only the Debian package needs: changelog, copyright, lintian overrides.
# Usage: plain_install_test.sh CMAKE BUILD_DIR
set -uo pipefail
cmake=$1 build=$2
prefix=$(mktemp -d "${TMPDIR:-/tmp}/kazoomba-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log" >&2; rm -f "$prefix.log"; exit 1; }
rm -f "$prefix.log"
for path in games/kazoomba bin/kazoomba-par share/kazoomba/art share/kazoomba/sounds share/kazoomba/manual \
            share/applications/io.github.kazoomba.Kazoomba.desktop share/man/man6/kazoomba.6.gz; do
  [[ -e $prefix/$path ]] || fail "$path is not installed"
done
while IFS= read -r file; do
  fail "a Debian-only file is installed: $file"
done < <(cd "$prefix" && find . \( -path './share/doc*' -o -path './share/lintian*' -o -name 'changelog*' -o -name copyright \) -printf '%P\n')
[[ -e $prefix/games/kazoomba-build-data ]] && fail "the build-tree marker is installed"
((failures == 0)) || exit 1
echo "-- a plain install holds the game and its desktop files, and nothing only Debian needs"
