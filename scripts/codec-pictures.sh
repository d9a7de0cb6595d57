#!/usr/bin/env bash
# A picture of what each speech codec keeps: spectrograms of the built-in
# sample and of every available codec's decoding of it, one panel per signal,
# top to bottom, in one PNG. Prints codec_quality's table beside it.
#   scripts/codec-pictures.sh [OUT.png] [BUILD-DIR]
# Defaults: build/codec-pictures.png and build (scripts/build.sh default).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/codec-pictures.png}
build=${2:-build}
if [ ! -x "$build/bin/codec_quality" ]; then
  echo "codec-pictures: $build/bin/codec_quality is not built (scripts/build.sh default)" >&2
  exit 1
fi
command -v sox >/dev/null || { echo "codec-pictures: sox is missing (scripts/install-deps.sh)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/codec_quality" --keep "$work"
panels=("$work/speech-sample.wav")
names=(original)
for codec in QV48W QV80W Codec2-3200 Speex-nb-4800; do
  if [ -f "$work/speech-sample.$codec.wav" ]; then
    panels+=("$work/speech-sample.$codec.wav")
    names+=("$codec")
  fi
done
order=""
for i in "${!names[@]}"; do order+="$((i + 1)) ${names[$i]}  "; done
mkdir -p "$(dirname "$out")"
sox -M "${panels[@]}" -n spectrogram -x 1000 -y 160 -z 90 -t "speech-sample, top to bottom: ${order% }" \
  -c "8 kHz mono; each decoded signal aligned with the original" -o "$out"
echo "codec-pictures: $out (${#panels[@]} panels)"
