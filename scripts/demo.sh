#!/usr/bin/env bash
# The main job on the built-in example: compresses data/speech-sample.wav with
# both codecs into .zvsa stream files, decodes them back to WAV and shows the
# header of each stream file; then makes a web whose page has a player for a
# speech clip and a music clip, publishes it (scripts/demo-web.sh) and prints
# the command that serves it for a browser. Everything is written to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
scripts/build.sh default >/dev/null
zvsa=build/bin/zvsa
sample=data/speech-sample.wav
mkdir -p out
"$zvsa" encode "$sample" --codec speech -o out/speech-sample-speech.zvsa
"$zvsa" encode "$sample" --codec music -o out/speech-sample-music.zvsa
"$zvsa" decode out/speech-sample-speech.zvsa -o out/speech-sample-speech.wav
"$zvsa" decode out/speech-sample-music.zvsa -o out/speech-sample-music.wav
echo
"$zvsa" info out/speech-sample-speech.zvsa out/speech-sample-music.zvsa
echo
echo "Stream files and decoded WAV files are in out/; to hear one on this machine's"
echo "speaker, run"
echo "  $zvsa play out/speech-sample-speech.zvsa out/speech-sample-music.zvsa"
echo
echo "A web page with a player for a speech clip and a music clip:"
scripts/demo-web.sh build out
