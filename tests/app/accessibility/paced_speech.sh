#!/bin/sh
# speech-dispatcher's voice for the spoken tests that pace speech as a real voice does: writes the utterance
# to the transcript, then takes as long as saying it would, about fifteen characters a second.
# Usage: paced_speech.sh TEXT TRANSCRIPT
printf '%s\n' "$1" >>"$2"
sleep "$(printf '%s' "$1" | wc -m | awk '{ printf "%.2f", $1 / 15 }')"
