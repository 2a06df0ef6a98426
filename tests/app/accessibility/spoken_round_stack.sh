#!/bin/sh
# Inside the private session: starts the X server, the window manager, the accessibility bus,
# speech-dispatcher and Orca, runs the player script, and stops them all again. Called by spoken_round_test.sh.
set -u
cd "$SCRATCH"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>display 2>xvfb.log &
xvfb=$!
for i in $(seq 100); do [ -s display ] && break; sleep 0.1; done
[ -s display ] || { echo "SKIPPED: Xvfb did not start" >&2; exit 77; }
export DISPLAY=":$(cat display)"
# The window manager says when it manages the screen: a window mapped before then gets no keyboard.
openbox --startup "touch $SCRATCH/wm-ready" >openbox.log 2>&1 &
helpers=$!
for i in $(seq 200); do [ -e wm-ready ] && break; sleep 0.1; done
[ -e wm-ready ] || { echo "SKIPPED: openbox did not start within 20 s: $(tail -3 openbox.log)" >&2; kill $helpers $xvfb; exit 77; }
/usr/libexec/at-spi-bus-launcher --launch-immediately >atspi.log 2>&1 &
helpers="$helpers $!"
speech-dispatcher --run-single --timeout 0 --config-dir "$SCRATCH/speechd" >speechd.log 2>&1 &
helpers="$helpers $!"
orca --debug-file="$SCRATCH/orca-debug.log" >orca.log 2>&1 &
orca=$!
status=0
python3 "$PLAYER" "$GAME" "$orca" || status=$?
# Xvfb is stopped by a signal it can clean up after: its lock file must not outlive the namespace.
kill $orca $helpers $xvfb 2>/dev/null
wait $xvfb 2>/dev/null
exit $status
