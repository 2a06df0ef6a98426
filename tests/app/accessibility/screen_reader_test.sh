#!/bin/sh
# Starts the game on a private X server and session bus with the accessibility bus running, and lets
# screen_reader.py read it. Usage: screen_reader_test.sh GAME [--dump]
set -eu
game=$1
shift
here=$(dirname "$0")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
exec dbus-run-session -- sh -c '
    set -eu
    game=$1; here=$2; scratch=$3; shift 3
    # Xvfb picks a free display and writes its number.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
    xvfb=$!
    for i in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$scratch/display")"
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    status=0
    QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1 \
        SDL_AUDIODRIVER=dummy /usr/bin/python3 "$here/screen_reader.py" "$game" "$@" || status=$?
    kill $launcher $xvfb 2>/dev/null || true
    exit $status
' sh "$game" "$here" "$scratch" "$@"
