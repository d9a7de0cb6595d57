#!/usr/bin/env bash
# The main job on the built-in example: compresses data/speech-sample.wav with
# the speech codec, decodes it again and reports frames, bit rate and quality.
# Output goes to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
scripts/build.sh default >/dev/null
mkdir -p out
build/bin/qv80_roundtrip data/speech-sample.wav out/speech-sample-decoded.wav
