#!/bin/sh
# How fast the running game answers a screen reader's question while it plays: spins with their saves and
# win sounds, beside two busy loops and a disk writer. Prints the figures; fails nothing.
# Usage: answer_probe.sh GAME [SPINS]
set -eu
game=$1
spins=${2:-24}
here=$(dirname "$0")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$XDG_CONFIG_HOME/kazoomba" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
exec dbus-run-session -- sh -c '
    set -eu
    game=$1; here=$2; scratch=$3; spins=$4
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
    xvfb=$!
    for i in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$scratch/display")"
    openbox >/dev/null 2>&1 &
    wm=$!
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    # The load: two loops that keep both cores busy, and a writer that keeps the disk flushing.
    sh -c "while :; do :; done" & busy1=$!
    sh -c "while :; do :; done" & busy2=$!
    sh -c "while :; do dd if=/dev/zero of=\"$scratch/disk-writer\" bs=1M count=64 conv=fsync 2>/dev/null; done" & writer=$!
    status=0
    QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 \
        SDL_AUDIODRIVER=dummy /usr/bin/python3 "$here/answer_probe.py" "$game" "$spins" || status=$?
    kill $busy1 $busy2 $writer $wm $launcher $xvfb 2>/dev/null || true
    exit $status
' sh "$game" "$here" "$scratch" "$spins"
