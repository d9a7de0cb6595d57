#!/usr/bin/env bash
# Remakes data/speech-sample.wav, the built-in speech example: a few seconds of
# synthetic English speech, 8000 Hz, mono, 16-bit PCM, with a plain 44-byte
# WAV header. Needs espeak-ng and sox (scripts/install-deps.sh installs both).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp --suffix=.wav)
trap 'rm -f "$tmp"' EXIT
text="Welcome to our home page. Press play to hear this message again."
espeak-ng -v en-us -s 150 -a 160 -w "$tmp" "$text"
# Resample to 8 kHz, one channel, 16 bits; leave headroom below full scale.
sox "$tmp" -r 8000 -c 1 -b 16 -e signed-integer "$here/speech-sample.wav" gain -n -3
soxi "$here/speech-sample.wav"
