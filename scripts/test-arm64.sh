#!/usr/bin/env bash
# The codecs, the engine and zvsa on 64-bit ARM: builds the arm64 preset
# (cross compiler, cmake/toolchains/aarch64-linux-gnu.cmake), runs its tests
# under qemu-aarch64 (the conformance vectors of every codec at every kernel
# level, the codec contract suite, the engine's and zvsa's tests), then
# encodes and decodes with the emulated zvsa and with the x86-64 one and
# compares what they wrote byte for byte.
#
#   scripts/test-arm64.sh [X86_BUILD]    X86_BUILD: the default build (build/)
#
# Without the cross compiler or qemu-aarch64 it says so and stops with
# status 0 on a developer's machine; under CI=true that fails.
set -euo pipefail
cd "$(dirname "$0")/.."
x86_build=${1:-build}
arm_build=build-arm64

missing=()
command -v aarch64-linux-gnu-g++ >/dev/null || missing+=("aarch64-linux-gnu-g++ (crossbuild-essential-arm64)")
command -v qemu-aarch64 >/dev/null || missing+=("qemu-aarch64 (qemu-user)")
if [ ${#missing[@]} -gt 0 ]; then
  echo "test-arm64: missing ${missing[*]}; scripts/install-deps.sh installs them" >&2
  [ "${CI:-}" = true ] && exit 1
  echo "test-arm64: skipped"
  exit 0
fi
if [ ! -x "$x86_build/bin/zvsa" ]; then
  echo "test-arm64: no x86-64 zvsa in $x86_build/bin to compare with (scripts/build.sh default)" >&2
  exit 1
fi

echo "== arm64 cross build"
scripts/build.sh arm64

echo "== arm64 tests under qemu-aarch64"
ctest --preset arm64 -j "$(nproc)"

echo "== zvsa on arm64 against zvsa on x86-64, byte for byte"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/arm64" "$work/x86-64"
# The emulated program loads the codec libraries of its own build from its
# private library folder (lib/zvtavelworks).
run() {
  local side=$1
  shift
  if [ "$side" = arm64 ]; then qemu-aarch64 "$arm_build/bin/zvsa" "$@"; else "$x86_build/bin/zvsa" "$@"; fi
}
compared=0
same() {
  cmp "$work/arm64/$1" "$work/x86-64/$1"
  compared=$((compared + 1))
}
for side in arm64 x86-64; do
  out=$work/$side
  for codec in lowspeech speech music; do
    run "$side" encode -q --codec "$codec" data/speech-sample.wav -o "$out/sample-$codec.zvsa"
    run "$side" decode -q "$out/sample-$codec.zvsa" -o "$out/sample-$codec.wav"
  done
  # The stream vectors of the engine, decoded.
  for clip in vowels-speech vowels-music vowels-lowspeech; do
    run "$side" decode -q "tests/data/vectors/$clip.zvsa" -o "$out/$clip.wav"
  done
done
for codec in lowspeech speech music; do
  same "sample-$codec.zvsa"
  same "sample-$codec.wav"
done
for clip in vowels-speech vowels-music vowels-lowspeech; do same "$clip.wav"; done
echo "test-arm64: $compared files identical on arm64 and x86-64"
