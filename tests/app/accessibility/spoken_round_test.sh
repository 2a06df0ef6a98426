#!/bin/sh
# Plays rounds by real keys with the Orca screen reader running, and checks what it said: the whole desktop
# stack (X server, window manager, session and accessibility buses, speech-dispatcher, Orca) is started
# in private namespaces, and speech-dispatcher's output module writes each utterance to a file instead of a
# sound card. Usage: spoken_round_test.sh GAME [PLAYER], where PLAYER is the script that plays, from this
# folder (spoken_round.py when not given). Exits 77 (skipped) when the stack cannot be had.
set -eu
game=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
player="$here/${2:-spoken_round.py}"
skip() { echo "SKIPPED: $*" >&2; exit 77; }
for tool in Xvfb openbox dbus-run-session orca speech-dispatcher xdotool python3; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/setup test installs it)"
done
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] || skip "speech-dispatcher's generic output module is missing"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the accessibility bus (at-spi2-core) is missing"

# KAZOOMBA_SPOKEN_ROUND_DIR keeps the transcript and the logs in a folder of one's choice.
if [ -n "${KAZOOMBA_SPOKEN_ROUND_DIR:-}" ]; then
    scratch=$KAZOOMBA_SPOKEN_ROUND_DIR
    rm -rf "$scratch" && mkdir -p "$scratch"
else
    scratch=$(mktemp -d)
    trap 'rm -rf "$scratch"' EXIT
fi
mkdir -p "$scratch/config/kazoomba" "$scratch/run" "$scratch/data" "$scratch/speechd/modules" "$scratch/home"
chmod 700 "$scratch/run"

# The output module is speech-dispatcher's generic one: it hands each utterance to a shell command, here
# one that appends it to the transcript. The sound card is ALSA's null device.
cat >"$scratch/speechd/speechd.conf" <<CONF
AddModule "transcript" "sd_generic" "transcript.conf"
DefaultModule transcript
LanguageDefaultModule "en" "transcript"
AudioOutputMethod "alsa"
AudioALSADevice "null"
CONF
# KAZOOMBA_PACED_SPEECH=1 makes each utterance take as long as a voice would take to say it.
if [ -n "${KAZOOMBA_PACED_SPEECH:-}" ]; then
    synth="sh $here/paced_speech.sh \\'\\\$DATA\\' $scratch/spoken.txt"
else
    synth="printf '%s\\\\n' \\'\\\$DATA\\' >> $scratch/spoken.txt"
fi
# The transcript is UTF-8 for the language Orca asks for: under the C locale an Orca on Python 3.12 or
# later asks for "c" (an older Python took C.UTF-8 for en_US), and a language the module does not know is
# recoded to Latin-1, which turns the game's cent sign into a stray byte and its dashes into question marks.
# (speech-dispatcher 0.12's module writes a single typed letter in UTF-8 as stray bytes; no step reads it.)
cat >"$scratch/speechd/modules/transcript.conf" <<CONF
GenericExecuteSynth "$synth"
GenericLanguage "en" "en" "utf-8"
GenericLanguage "c" "en" "utf-8"
AddVoice "en" "MALE1" "en"
CONF

# Orca's own first-start questions are answered: speech on, no braille, every key echo as shipped.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/run" \
    XDG_DATA_HOME="$scratch/data" SCRATCH="$scratch" GAME="$game" HERE="$here" PLAYER="$player"
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS 2>/dev/null || true

# A private process namespace keeps this Orca apart from any other on the machine (Orca refuses to start
# beside another) and ends every helper with the test. Without one the test still runs, alone.
if unshare --pid --fork --mount-proc true 2>/dev/null; then
    isolate="unshare --pid --fork --mount-proc"
else
    isolate=""
    pgrep -x orca >/dev/null && skip "another Orca is running and no private process namespace can be made"
fi
status=0
$isolate dbus-run-session -- sh "$here/spoken_round_stack.sh" || status=$?
exit $status
