#!/usr/bin/env bash
# Builds the Debian package twice with dpkg-buildpackage, from two copies of the source tree in different
# folders, each with the upstream tarball scripts/orig-tarball makes, and checks that the two are byte for
# byte the same. The first is the build a sponsor runs, its fast tests included; the second skips them
# (nocheck), so it costs only the game's own build and shows that the tests leave no mark on the package.
# Then unpacks it into a scratch root, checks
# its layout, dependencies, licence, launcher, metadata, icons, manual pages and hardening, that no build
# path is in the programs, runs lintian on the source and binary packages when lintian is installed, and
# runs the unpacked game offscreen, with the source tree hidden from it, until SIGTERM.
# Usage: installed_package_test.sh SOURCE_DIR VERSION
set -uo pipefail

source=$1 version=$2
# The package's version: the project's, and the Debian revision of the changelog's newest entry.
package_version=$(dpkg-parsechangelog -l "$source/debian/changelog" -SVersion) || exit 1
app_id=io.github.kazoomba.Kazoomba

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kazoomba-package.XXXXXX")
game_pid=
cleanup() {
  if [[ -n $game_pid ]] && kill -0 "$game_pid" 2>/dev/null; then kill -KILL "$game_pid" 2>/dev/null; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# For faults that leave nothing for the later steps to look at.
give_up() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

for tool in dpkg-parsechangelog dpkg-buildpackage dpkg-deb dh apt-get desktop-file-validate appstreamcli appstream-util groff file readelf strings; do
  command -v "$tool" >/dev/null || give_up "$tool is missing: run scripts/setup (scripts/packages.txt lists it)"
done

# The source tree as a release would have it: the files git knows, without build trees; a tree that is no
# git checkout is copied whole but for its build folder.
copy_source() {
  mkdir -p "$1"
  if git -C "$source" rev-parse --show-toplevel >/dev/null 2>&1; then
    (cd "$source" && git ls-files -co --exclude-standard -z | grep -zv '^build/' |
      while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
      xargs -0 cp --parents -t "$1")
  else
    (cd "$source" && tar --exclude=./build -cf - .) | tar -xf - -C "$1"
  fi
}

# The two builds differ in where they are, so that a build path that reaches the package shows.
jobs=$(nproc)
debs=() origs=()
# Both copies are taken before either build, so that the two are of one source even when the working
# tree changes while the first builds.
for copy in first second/elsewhere; do
  tree="$scratch/$copy/kazoomba-$version"
  copy_source "$tree" || give_up "could not copy the source tree"
  "$tree/scripts/orig-tarball" >/dev/null || give_up "scripts/orig-tarball made no upstream tarball"
  origs+=("$(dirname "$tree")/kazoomba_$version.orig.tar.xz")
done
for copy in first second/elsewhere; do
  tree="$scratch/$copy/kazoomba-$version"
  options="parallel=$jobs" profiles=
  [[ $copy == first ]] || { options+=" nocheck"; profiles=nocheck; }
  step "building the package with dpkg-buildpackage in $tree (DEB_BUILD_OPTIONS=$options)"
  start=$SECONDS
  # At a low priority: the tests that run in real time may be running beside it.
  if ! (cd "$tree" && DEB_BUILD_OPTIONS=$options DEB_BUILD_PROFILES=$profiles nice -n 10 dpkg-buildpackage -us -uc \
          >"$scratch/${copy%%/*}.log" 2>&1); then
    tail -n 40 "$scratch/${copy%%/*}.log" >&2
    give_up "dpkg-buildpackage failed in $tree (log above)"
  fi
  echo "   built in $((SECONDS - start)) s"
  built=("$(dirname "$tree")/kazoomba_${package_version}_$(dpkg --print-architecture).deb")
  [[ -f ${built[0]} ]] || give_up "dpkg-buildpackage made no $(basename "${built[0]}"): $(ls "$(dirname "$tree")")"
  debs+=("${built[0]}")
done
deb=${debs[0]}
changes=${deb%.deb}.changes

step "checking that the two builds are the same"
sums=$(sha256sum "${debs[@]}" | cut -d' ' -f1)
echo "$sums" | sed 's/^/   sha256 /'
[[ $(sort -u <<<"$sums" | wc -l) -eq 1 ]] || fail "two builds of one source differ: the package is not reproducible"
[[ $(sha256sum "${origs[@]}" | cut -d' ' -f1 | sort -u | wc -l) -eq 1 ]] ||
  fail "scripts/orig-tarball made two different upstream tarballs of one source"
[[ $(stat -c %a "${origs[0]}") == "$(printf '%o' $((0666 & ~0$(umask))))" ]] ||
  fail "the upstream tarball has mode $(stat -c %a "${origs[0]}"), not the one umask $(umask) gives a new file"
# The sponsor's build ran the fast tests; the second build was told not to.
grep -Eq '^100% tests passed, 0 tests failed out of [0-9]+' "$scratch/first.log" ||
  fail "the package build did not run the fast tests: $(grep -E 'tests passed|tests failed' "$scratch/first.log")"
echo "   $(grep -E '^[0-9]+% tests passed' "$scratch/first.log")"
grep -q 'tests passed' "$scratch/second.log" && fail "the nocheck build ran the tests"
# Neither builds the programs that made the art and the sounds.
grep -Eq 'kazoomba-(artsheet|soundgen)' "$scratch/first.log" && fail "the package build built kazoomba-artsheet or kazoomba-soundgen"
# The compilers have nothing to say about the game's own code.
if grep -Eq ':[0-9]+:[0-9]+: (warning|error): ' "$scratch/first.log"; then
  grep -E ':[0-9]+:[0-9]+: (warning|error): ' "$scratch/first.log" | sort -u | head -n 20 >&2
  fail "the package build shows compiler warnings"
fi

step "checking the control fields"
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == kazoomba ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$package_version" && ${package_version%-*} == "$version" ]] ||
  fail "Version is '$(field Version)', the project is $version and the changelog's newest entry $package_version"
[[ $(field Section) == games ]] || fail "Section is '$(field Section)'"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is not 'name <e-mail>': $(field Maintainer)"
[[ $(field Recommends) =~ (^|, )qt6-wayland( |,|$) ]] || fail "Recommends does not name qt6-wayland: $(field Recommends)"
depends=$(field Depends)
echo "   Depends: $depends"
for needed in libqt6widgets6 libqt6svg6 libsdl2-2.0-0 fonts-dejavu-core qt6-svg-plugins; do
  grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends does not name $needed"
done
if grep -Eq -- '-dev( |,|$)|libgtest|libgmock|libbenchmark|libasan|libubsan' <<<"$depends"; then
  fail "Depends names a build-time package"
fi
# WAV files need no MIDI synthesizer or JACK: the game plays them through SDL2 alone.
if grep -Eq -- 'mixer|fluidsynth|jack' <<<"$depends"; then
  fail "Depends names a sound library beyond SDL2: $depends"
fi
# What `sudo apt install ./kazoomba_*.deb` would do on this machine, simulated: every dependency satisfiable.
if ! apt-get --simulate --no-install-recommends install "$deb" >"$scratch/apt.log" 2>&1; then
  cat "$scratch/apt.log" >&2
  fail "apt cannot install the package here"
fi

step "unpacking into a scratch root"
root="$scratch/root"
dpkg-deb -x "$deb" "$root" || give_up "dpkg-deb could not unpack the package"

# Debian keeps games in /usr/games; the analysis tool is no game.
for path in usr/games/kazoomba usr/bin/kazoomba-par; do
  [[ -x $root/$path ]] || fail "$path is missing or not executable"
done
icons=usr/share/icons/hicolor
for path in "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
            "$icons/scalable/apps/$app_id.svg" usr/share/man/man1/kazoomba-par.1.gz usr/share/man/man6/kazoomba.6.gz \
            usr/share/doc/kazoomba/copyright usr/share/doc/kazoomba/changelog.Debian.gz \
            usr/share/lintian/overrides/kazoomba; do
  [[ -f $root/$path ]] || fail "$path is missing"
done
for size in 16 24 32 48 64 128 256; do
  png="$root/$icons/${size}x$size/apps/$app_id.png"
  file "$png" 2>/dev/null | grep -q "PNG image data, $size x $size," || fail "no $size x $size PNG icon: $(file "$png")"
done

step "checking the licence and the changelog"
copyright="$root/usr/share/doc/kazoomba/copyright"
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" ||
  fail "the copyright file is not in the machine-readable format"
grep -qx 'License: GPL-3+' "$copyright" || fail "the copyright file does not license the game under GPL-3+"
cmp -s "$source/LICENSE" /usr/share/common-licenses/GPL-3 || fail "LICENSE is not the text of the GPL version 3"
newest=$(gzip -dc "$root/usr/share/doc/kazoomba/changelog.Debian.gz" | head -n 1)
[[ $newest == "kazoomba ($(field Version)) "* ]] || fail "the changelog's newest entry is not for $(field Version): $newest"
# Every picture, sound and manual page of the source tree, where the game looks for them.
while IFS= read -r file; do
  [[ -f $root/usr/share/kazoomba/$file ]] || fail "usr/share/kazoomba/$file is missing"
done < <(cd "$source/resources" && { find art -name '*.svg'; find sounds -iname '*.wav'; find manual -type f; })
[[ -n $(ls -A "$root/usr/share/kazoomba/manual" 2>/dev/null) ]] || fail "the manual is empty"
# Nothing but the programs and their shared data: no headers, libraries, test programs or build paths.
while IFS= read -r file; do
  case $file in
    usr/games/kazoomba | usr/bin/kazoomba-par | usr/share/kazoomba/* | usr/share/applications/* | \
    usr/share/metainfo/* | usr/share/icons/* | usr/share/man/* | usr/share/doc/kazoomba/* | \
    usr/share/lintian/overrides/kazoomba) ;;
    *) fail "unexpected file in the package: $file" ;;
  esac
done < <(cd "$root" && find . -type f -printf '%P\n')

step "validating the desktop entry and the AppStream metadata"
desktop="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli rejects the metadata"
appstream-util validate-relax --nonet "$metainfo" || fail "appstream-util rejects the metadata"
key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
exec_name=$(key Exec) exec_name=${exec_name%% *}
[[ -x $root/usr/games/$exec_name ]] || fail "the desktop entry runs '$exec_name', which is not in /usr/games"
[[ $(key Icon) == "$app_id" ]] || fail "the desktop entry's icon is '$(key Icon)', not the application id"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metadata's id is not $app_id"
# The software centre takes the icon from the launcher; a stock icon is only for the desktop's own icons.
grep -q "<icon type=\"stock\"" "$metainfo" && fail "the metadata names a stock icon"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" || fail "the metadata's licence is not GPL-3.0-or-later"
grep -q "<metadata_license>CC0-1.0</metadata_license>" "$metainfo" || fail "the metadata itself is not CC0-1.0"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metadata does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata has no release $version"
while IFS= read -r binary; do
  [[ -x $root/usr/bin/$binary || -x $root/usr/games/$binary ]] || fail "the metadata provides '$binary', which the package does not hold"
done < <(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")

step "checking the manual pages"
for page in man1/kazoomba-par.1.gz man6/kazoomba.6.gz; do
  warnings=$(gzip -dc "$root/usr/share/man/$page" | groff -man -ww -z 2>&1)
  [[ -z $warnings ]] || fail "$page: $warnings"
done
# Every option kazoomba-par knows is described on its page.
par_page=$(gzip -dc "$root/usr/share/man/man1/kazoomba-par.1.gz")
while IFS= read -r option; do
  grep -qF -- "\\-\\-${option#--}" <<<"$par_page" || fail "kazoomba-par.1 does not describe $option"
done < <("$root/usr/bin/kazoomba-par" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)

step "checking the hardening of the programs"
for program in usr/games/kazoomba usr/bin/kazoomba-par; do
  readelf -lW "$root/$program" | grep -q GNU_RELRO || fail "$program has no read-only relocations (-z relro)"
  readelf -dW "$root/$program" | grep -Eq 'BIND_NOW|FLAGS_1.*NOW' || fail "$program binds lazily (-z now)"
  symbols=$(readelf --dyn-syms -W "$root/$program")
  grep -q '__stack_chk_fail' <<<"$symbols" || fail "$program has no stack protector"
  grep -Eq '__[a-z]+_chk(@| )' <<<"$symbols" || fail "$program calls no checked functions (_FORTIFY_SOURCE)"
done

step "looking for build paths in the programs"
# A path of the build machine in an installed program could lead it to read files there. Qt keeps string
# literals in UTF-16, so the text is looked for in both widths.
for program in usr/games/kazoomba usr/bin/kazoomba-par; do
  text=$(strings -a "$root/$program"; strings -a -el "$root/$program")
  for path in "$source" "$scratch" "$(dirname "$deb")"; do
    if grep -qF -- "$path" <<<"$text"; then
      fail "$program holds the build path $path: $(grep -F -- "$path" <<<"$text" | head -n 3)"
    fi
  done
done

step "asking the programs for their version and help, without a display"
bare=(env -i PATH="/usr/bin:/bin" LANG=C.UTF-8 HOME="$scratch" QT_QPA_PLATFORM=xcb)
answer=$("${bare[@]}" "$root/usr/games/kazoomba" --version 2>&1) || fail "kazoomba --version failed: $answer"
[[ $answer == "kazoomba $version" ]] || fail "kazoomba --version printed '$answer'"
answer=$("${bare[@]}" "$root/usr/games/kazoomba" --help 2>&1) || fail "kazoomba --help failed: $answer"
grep -q -- '--version' <<<"$answer" || fail "kazoomba --help printed '$answer'"
answer=$("${bare[@]}" "$root/usr/bin/kazoomba-par" --version 2>&1) || fail "kazoomba-par --version failed: $answer"
[[ $answer == "kazoomba-par $version" ]] || fail "kazoomba-par --version printed '$answer'"

if command -v lintian >/dev/null; then
  step "lintian --pedantic on the source and binary packages"
  # Any error, warning or pedantic remark fails; the package's own overrides say why each applies.
  if ! lintian --pedantic --fail-on error,warning,pedantic "$changes" >"$scratch/lintian.log" 2>&1; then
    grep -v 'running with root privileges' "$scratch/lintian.log" >&2
    fail "lintian finds faults in the package"
  elif grep -v 'running with root privileges' "$scratch/lintian.log" | grep -q .; then
    grep -v 'running with root privileges' "$scratch/lintian.log" >&2
    fail "lintian has remarks on the package"
  fi
else
  echo "   lintian is not installed (scripts/setup installs it); not run"
fi

step "starting the installed game offscreen"
home="$scratch/home"
mkdir -p "$home/config" "$home/data" "$home/data-dirs" "$home/cache"
mkdir -m 700 "$home/runtime"
# The source tree hidden under an empty folder, in a mount namespace of the game's own, as if it had been
# renamed away: the game must find everything in the package. Without the right to make one, the game runs
# with the tree in place, and the check for build paths above stands for this one.
hide=()
if unshare --mount --propagation private mount -t tmpfs kazoomba-hidden "$source" 2>/dev/null; then
  hide=(unshare --mount --propagation private sh -c 'mount -t tmpfs kazoomba-hidden "$0" && exec "$@"' "$source")
  echo "   the source tree $source is hidden from the game"
else
  echo "   no mount namespace here: the source tree stays visible to the game"
fi
# A clean environment: no display, no sound card, nothing of the user's own configuration, no data folder
# of the desktop's. The painting log of Qt's widgets says when the main window was first drawn and shown:
# the whole category, since Qt 6.8 says it at debug level where Qt 6.4 said it as information.
: >"$scratch/game.err"
"${hide[@]}" env -i PATH="/usr/bin:/bin" LANG=C.UTF-8 HOME="$home" XDG_CONFIG_HOME="$home/config" \
  XDG_DATA_HOME="$home/data" XDG_DATA_DIRS="$home/data-dirs" XDG_CACHE_HOME="$home/cache" \
  XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1 \
  SDL_AUDIODRIVER=dummy QT_FORCE_STDERR_LOGGING=1 QT_LOGGING_RULES="qt.widgets.painting=true" \
  "$root/usr/games/kazoomba" >"$scratch/game.out" 2>"$scratch/game.err" &
game_pid=$!

# The whole window, "Drawing" into its surface and "Flushing" it to the screen: either says it was painted.
first_paint='(Drawing|Flushing) QRegion\(0,0 [0-9]+x[0-9]+\) of [A-Za-z:]*MainWindow'
painted=no
for ((tenth = 0; tenth < 300; ++tenth)); do
  if grep -Eq "$first_paint" "$scratch/game.err"; then painted=yes; break; fi
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
echo "   first paint after about $((tenth / 10)).$((tenth % 10)) s"
[[ $painted == yes ]] || fail "the game never painted its main window"

kill -TERM "$game_pid" 2>/dev/null
for ((tenth = 0; tenth < 150; ++tenth)); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game_pid" 2>/dev/null; then
  kill -KILL "$game_pid" 2>/dev/null
  fail "the game was still running 15 s after SIGTERM"
fi
wait "$game_pid"
status=$?
game_pid=
[[ $status -eq 0 ]] || fail "the game exited with status $status after SIGTERM"

messages=$(grep -v '^qt\.widgets\.painting:' "$scratch/game.err")
if grep -q 'not found' <<<"$messages"; then fail "the installed game did not find its data"; fi
if grep -qF -- "$source" <<<"$messages"; then fail "the installed game names the source tree"; fi
ini="$home/config/kazoomba/KAZO.INI"
if [[ ! -f $ini ]]; then
  fail "the game wrote no $ini on SIGTERM"
elif ! grep -qi '^\[Current Game\]' "$ini"; then
  fail "KAZO.INI has no [Current Game] section after SIGTERM"
fi

if ((failures)); then
  [[ -z $messages ]] || printf 'The game said:\n%s\n' "$messages" >&2
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "-- the package builds the same twice, validates, and the unpacked game starts and quits cleanly"
