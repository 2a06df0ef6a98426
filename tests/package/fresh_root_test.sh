#!/usr/bin/env bash
# A fresh Debian root (12, or another release's suite), as a new user's machine would be: made once with
# debootstrap and kept as a cache, copied for every step. In one copy the package is built with
# dpkg-buildpackage, its fast tests included, after installing only build-essential and its Build-Depends;
# then again from a copy of the source in another folder with nocheck, which must make the same .deb; then
# that release's own lintian looks at the first build. In another copy the package is installed with apt,
# as a user would, and the game is started on a virtual X server of the host's until its main window is on
# the screen and drawn, and a screenshot of the screen is kept. Prints what was installed and how long each
# step took. Optional and slow (minutes, and the Debian mirror): needs root, debootstrap, Xvfb, xwininfo and
# ImageMagick.
# Usage: fresh_root_test.sh SOURCE_DIR VERSION [SUITE]   (SUITE: bookworm, the default, or trixie)
#   KAZOOMBA_ROOT_CACHE: where the debootstrap root is kept (default /var/tmp/kazoomba-fresh-root-SUITE).
#   KAZOOMBA_MIRROR: the Debian mirror (default http://deb.debian.org/debian).
#   The screenshot is written to the current folder (under ctest the build tree's tests/package) as
#   fresh-SUITE-root-window.png.
set -uo pipefail
source=$1 version=$2 suite=${3:-bookworm}
cache=${KAZOOMBA_ROOT_CACHE:-/var/tmp/kazoomba-fresh-root-$suite}
mirror=${KAZOOMBA_MIRROR:-http://deb.debian.org/debian}
arch=$(dpkg --print-architecture)
package_version=$(dpkg-parsechangelog -l "$source/debian/changelog" -SVersion) || exit 1
screenshot="$(pwd -P)/fresh-$suite-root-window.png"
title="Kazoomba Video Slots (32-bit version)"

give_up() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }
((EUID == 0)) || { echo "needs root (debootstrap, chroot); skipped"; exit 77; }
for tool in debootstrap Xvfb xwininfo import convert; do
  command -v "$tool" >/dev/null || give_up "$tool is missing: run scripts/setup (scripts/packages.txt lists it)"
done

scratch=$(mktemp -d /var/tmp/kazoomba-fresh.XXXXXX)
mounts=()
game='' xvfb=''
cleanup() {
  local m
  [[ -n $game ]] && kill -KILL "$game" 2>/dev/null
  [[ -n $xvfb ]] && kill -TERM "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  for ((m = ${#mounts[@]} - 1; m >= 0; --m)); do umount -l "${mounts[m]}" 2>/dev/null; done
  rm -rf --one-file-system "$scratch"
}
trap cleanup EXIT

if [[ ! -x $cache/base/usr/bin/apt-get ]]; then
  step "making the $suite root with debootstrap (once; kept in $cache)"
  mkdir -p "$cache/debs"
  start=$SECONDS
  debootstrap --variant=minbase --cache-dir="$cache/debs" "$suite" "$cache/base.new" "$mirror" \
    >"$cache/debootstrap.log" 2>&1 || give_up "debootstrap failed: see $cache/debootstrap.log"
  rm -rf "$cache/base" && mv "$cache/base.new" "$cache/base"
  echo "   made in $((SECONDS - start)) s"
fi

# A copy of the fresh root with /proc, /dev and the host's name resolution, for apt and the game.
fresh_copy() {
  local root=$1
  cp -a "$cache/base" "$root" || give_up "could not copy the root"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  mount -t proc proc "$root/proc" && mounts+=("$root/proc")
  mount --rbind /dev "$root/dev" && mounts+=("$root/dev")
}
in_root() { local root=$1; shift; chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/root "$@"; }
apt_in() {
  local root=$1; shift
  in_root "$root" env DEBIAN_FRONTEND=noninteractive apt-get -o Dpkg::Use-Pty=0 "$@"
}
packages_in() { in_root "$1" dpkg-query -W | wc -l; }

# The source tree as a release would have it, at FOLDER in the build root, with the upstream tarball that
# scripts/orig-tarball makes beside it.
copy_source() {
  local tree=$build_root$1
  mkdir -p "$tree"
  (cd "$source" && git ls-files -co --exclude-standard -z | grep -zv '^build/' |
    while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
    xargs -0 cp --parents -t "$tree") || give_up "could not copy the source tree"
  "$tree/scripts/orig-tarball" >/dev/null || give_up "scripts/orig-tarball failed"
}
# dpkg-buildpackage in the source tree at FOLDER in the build root, with DEB_BUILD_OPTIONS and
# DEB_BUILD_PROFILES; the log goes to LOG. Prints how long it took and what the fast tests said.
build_in_root() {
  local tree=$1 options=$2 profiles=$3 log=$4 start=$SECONDS
  # shellcheck disable=SC2016 # the folder is the inner shell's $0
  if ! in_root "$build_root" env DEB_BUILD_OPTIONS="$options" DEB_BUILD_PROFILES="$profiles" \
         sh -c 'cd "$0" && dpkg-buildpackage -us -uc' "$tree" >"$log" 2>&1; then
    # What failed: a compiler's errors, a test's failed expectations, or else the end of the log.
    grep -E -A4 'error:|\[  FAILED  \]|: Failure$' "$log" | head -n 120 >&2
    tail -n 30 "$log" >&2
    give_up "dpkg-buildpackage failed in $tree in the fresh root"
  fi
  local deb
  deb="$build_root$(dirname "$tree")/kazoomba_${package_version}_$arch.deb"
  [[ -f $deb ]] || give_up "the build in $tree made no $(basename "$deb")"
  echo "   dpkg-buildpackage (DEB_BUILD_OPTIONS=$options): $((SECONDS - start)) s;" \
    "$(grep -E '^[0-9]+% tests passed' "$log" || echo 'no tests run')"
}

step "building the package in a fresh root with only its Build-Depends"
build_root="$scratch/build"
fresh_copy "$build_root"
first=/src/kazoomba-$version
copy_source "$first"
# The same source in a folder of another name and depth, for the second build below: copied now, so that
# both builds are of one source even when the working tree changes while the first one runs.
second=/src/second/elsewhere/kazoomba-$version
copy_source "$second"
start=$SECONDS
apt_in "$build_root" update >"$scratch/build-apt.log" 2>&1 || give_up "apt-get update failed in the root"
before=$(packages_in "$build_root")
apt_in "$build_root" install -y --no-install-recommends build-essential >>"$scratch/build-apt.log" 2>&1 ||
  give_up "could not install build-essential: $(tail -n 5 "$scratch/build-apt.log")"
in_root "$build_root" sh -c "cd $first && DEBIAN_FRONTEND=noninteractive apt-get -o Dpkg::Use-Pty=0 build-dep -y --no-install-recommends ./" \
  >>"$scratch/build-apt.log" 2>&1 || give_up "could not install the Build-Depends: $(tail -n 5 "$scratch/build-apt.log")"
echo "   build-essential and the Build-Depends: $(($(packages_in "$build_root") - before)) packages, $((SECONDS - start)) s"
jobs=$(nproc)
build_in_root "$first" "parallel=$jobs" "" "$scratch/build.log"
grep -Eq '^100% tests passed, 0 tests failed out of [0-9]+' "$scratch/build.log" ||
  give_up "the package build did not run the fast tests"

# The second copy, without the tests: a build path or a test that reaches the package shows as a
# difference. It costs only the game's own build.
step "building it again from the copy in $second, with nocheck"
build_in_root "$second" "parallel=$jobs nocheck" nocheck "$scratch/build-nocheck.log"
grep -q 'tests passed' "$scratch/build-nocheck.log" && give_up "the nocheck build ran the tests"
# This release's compilers have nothing to say about the game's own code either.
warned=$(grep -Eh ':[0-9]+:[0-9]+: (warning|error): ' "$scratch/build.log" "$scratch/build-nocheck.log" | sort -u)
[[ -z $warned ]] || give_up "the builds in the $suite root show compiler warnings:"$'\n'"$(head -n 20 <<<"$warned")"
echo "   compiler warnings in both builds: none"

step "checking that the two builds are the same"
deb="$build_root$(dirname "$first")/kazoomba_${package_version}_$arch.deb"
again="$build_root$(dirname "$second")/kazoomba_${package_version}_$arch.deb"
echo "   sha256 $(sha256sum "$deb" | cut -d' ' -f1)  $(basename "$deb"), with the fast tests"
echo "   sha256 $(sha256sum "$again" | cut -d' ' -f1)  $(basename "$again"), nocheck"
if ! cmp -s "$deb" "$again"; then
  diff <(dpkg-deb -I "$deb"; dpkg-deb -c "$deb") <(dpkg-deb -I "$again"; dpkg-deb -c "$again") | head -n 20 >&2
  give_up "two builds of one source in the $suite root differ: the package is not reproducible there"
fi

# This release's lintian, installed only now so that the builds had nothing but the Build-Depends. Errors,
# warnings and pedantic remarks fail, as on the developers' machines; informational tags are shown.
step "lintian of $suite --pedantic on the source and binary packages"
start=$SECONDS
before=$(packages_in "$build_root")
apt_in "$build_root" install -y --no-install-recommends lintian >"$scratch/lintian-apt.log" 2>&1 ||
  give_up "could not install lintian: $(tail -n 5 "$scratch/lintian-apt.log")"
echo "   $(in_root "$build_root" lintian --version): $(($(packages_in "$build_root") - before)) packages, $((SECONDS - start)) s"
start=$SECONDS
in_root "$build_root" lintian --pedantic --display-info --fail-on error,warning,pedantic \
  "$(dirname "$first")/kazoomba_${package_version}_$arch.changes" >"$scratch/lintian.log" 2>&1
status=$?
tags=$(grep -v 'running with root privileges' "$scratch/lintian.log")
echo "   lintian: $((SECONDS - start)) s, $(grep -cE '^[EWIPX]: ' <<<"$tags") tags"
[[ -n $tags ]] && while IFS= read -r tag; do echo "   $tag"; done <<<"$tags"
((status == 0)) || give_up "lintian of $suite finds errors, warnings or pedantic remarks (status $status)"

step "installing the package with apt in another fresh root"
run_root="$scratch/run"
fresh_copy "$run_root"
cp "$deb" "$run_root/tmp/"
apt_in "$run_root" update >"$scratch/run-apt.log" 2>&1 || give_up "apt-get update failed in the root"
start=$SECONDS
apt_in "$run_root" install -y "/tmp/$(basename "$deb")" >>"$scratch/run-apt.log" 2>&1 ||
  give_up "apt could not install the package: $(tail -n 10 "$scratch/run-apt.log")"
summary=$(grep -E '^[0-9]+ upgraded, [0-9]+ newly installed' "$scratch/run-apt.log" | tail -n 1)
echo "   apt install ./$(basename "$deb") (with Recommends, as apt does by default): $summary; $((SECONDS - start)) s"
grep -E '^Remv |^Removing ' "$scratch/run-apt.log" && give_up "installing the package removed packages"
for library in fluidsynth jack mixer; do
  # shellcheck disable=SC2016 # dpkg-query's format
  if in_root "$run_root" dpkg-query -W -f='${Package}\n' | grep -q "$library"; then
    give_up "the package brought in a $library package"
  fi
done

# The host's Xvfb, reached from the root through the X socket folder, mounted there read-only so that
# nothing in the root can remove the host's sockets.
step "starting the installed game on a virtual X server of the host's"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
for ((tenth = 0; tenth < 100; ++tenth)); do
  [[ -s $scratch/display ]] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.1
done
display=:$(head -n 1 "$scratch/display" 2>/dev/null)
[[ $display =~ ^:[0-9]+$ ]] || give_up "Xvfb did not start: $(tail -n 5 "$scratch/xvfb.log")"
mkdir -p "$run_root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$run_root/tmp/.X11-unix" || give_up "could not mount the X socket folder in the root"
mounts+=("$run_root/tmp/.X11-unix")
mount -o remount,bind,ro "$run_root/tmp/.X11-unix" || give_up "could not make the X socket folder read-only in the root"
mkdir "$run_root/tmp/home" && mkdir -m 700 "$run_root/tmp/runtime"
start_ns=$(date +%s%N)
# chroot execs env, which execs the game: $! is the game itself.
chroot "$run_root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/tmp/home \
  XDG_RUNTIME_DIR=/tmp/runtime DISPLAY="$display" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
  QT_FORCE_STDERR_LOGGING=1 QT_LOGGING_RULES="qt.widgets.painting=true" \
  /usr/games/kazoomba >"$scratch/game.out" 2>"$scratch/game.err" &
game=$!
# Shown: the main window is viewable on the X screen, at its size; painted: Qt flushed all of it there.
shown='' painted='' window=''
for ((tenth = 0; tenth < 600; ++tenth)); do
  elapsed=$((($(date +%s%N) - start_ns) / 1000000))
  if [[ -z $shown ]]; then
    window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | grep -F "\"$title\": " | head -n 1)
    if [[ $window =~ ^\ *(0x[0-9a-f]+)\ .*\ ([0-9]+)x([0-9]+)[+-]-?[0-9]+[+-]-?[0-9]+\ +\+(-?[0-9]+)\+(-?[0-9]+)$ ]] &&
       DISPLAY=$display xwininfo -id "${BASH_REMATCH[1]}" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      shown=$elapsed width=${BASH_REMATCH[2]} height=${BASH_REMATCH[3]} x=${BASH_REMATCH[4]} y=${BASH_REMATCH[5]}
    fi
  fi
  if [[ -z $painted ]] && grep -Eq 'Flushing QRegion\(0,0 [0-9]+x[0-9]+\) of [A-Za-z:]*MainWindow' "$scratch/game.err"; then
    painted=$elapsed
  fi
  [[ -n $shown && -n $painted ]] && break
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
messages=$(grep -v '^qt\.widgets\.painting' "$scratch/game.err")
said=$(head -n 5 <<<"$messages") said=${said:-nothing}
[[ -n $shown ]] || give_up "no window titled \"$title\" came on the X screen; the game said: $said"
[[ -n $painted ]] || give_up "the game never drew its main window; it said: $said"
((width >= 400 && height >= 300)) || give_up "the main window is only ${width}x$height: $window"
echo "   the main window on the screen after $shown ms, first painted after $painted ms:"
echo "   ${window#"${window%%[! ]*}"}"

# The screenshot, taken again for a few seconds until the window's part of it is a drawing and not one
# flat colour: reels, displays and buttons have hundreds of colours.
colours=0
for ((try = 0; try < 20; ++try)); do
  import -display "$display" -window root "$screenshot" 2>"$scratch/import.log" ||
    give_up "import could not take a screenshot: $(head -n 3 "$scratch/import.log")"
  colours=$(convert "$screenshot" -crop "${width}x$height+$x+$y" +repage -format %k info:)
  ((colours >= 100)) && break
  sleep 0.5
done
echo "   screenshot: $screenshot ($colours colours in the window)"
((colours >= 100)) || give_up "the window on the screen is not drawn: only $colours colours in it"

kill -TERM "$game" 2>/dev/null
for ((tenth = 0; tenth < 150; ++tenth)); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game" 2>/dev/null && give_up "the game was still running 15 s after SIGTERM"
wait "$game"
status=$? game=''
((status == 0)) || give_up "the game exited with status $status after SIGTERM"
grep -q 'not found' <<<"$messages" && give_up "the game did not find its data: $(grep 'not found' <<<"$messages")"
[[ -f $run_root/tmp/home/.config/kazoomba/KAZO.INI ]] || give_up "the game saved nothing on SIGTERM"
echo "-- a fresh $suite root builds the package the same twice, its lintian is content, and the installed game"
echo "   shows its window on X; $((SECONDS / 60)) min $((SECONDS % 60)) s in all"
