#!/usr/bin/env bash
# Builds one codec library's decoder as a WebAssembly module for the web
# player (player/ZvStreamPlayer.js), with Debian's emscripten, from the very
# sources of the native library.
#
#   scripts/build-wasm.sh OUTPUT.wasm PREFIX SOURCE...
#
# PREFIX is the entry points' prefix (QV80_, QV160MX_ or QV48_). The build
# calls it with the source list of the codec's CMake target
# (player/CMakeLists.txt), so the module is always made of what the codec's
# native library is made of; `cmake --build BUILD --target zv_player_files`
# runs it for every codec.
#
# The module is standalone: it imports nothing and exports its memory,
# malloc, free and the decoder's entry points (Open_Decoder, Decode,
# Close_Decoder, GetCodecInfoEx). It is compiled with the arithmetic rules of
# the native codecs (no fast-math, no contraction of multiply-adds); the
# speech codec's extended-precision sums use the software x87 type there
# (codec/speech/soft_extended.h), so the samples equal the native ones bit
# for bit. Non-x86 builds take the portable kernels. QV48W computes in
# integers only, so its module needs nothing of the kind.
set -euo pipefail

if [ $# -lt 3 ]; then
  echo "usage: $0 OUTPUT.wasm PREFIX SOURCE..." >&2
  exit 2
fi
output=$1
prefix=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)

if ! command -v emcc >/dev/null; then
  echo "build-wasm: emcc not found; install emscripten (scripts/install-deps.sh)" >&2
  exit 1
fi
# Debian's emcc runs its JavaScript parts with Debian's node modules.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

exports="_${prefix}Open_Decoder,_${prefix}Decode,_${prefix}Close_Decoder,_${prefix}GetCodecInfoEx,_malloc,_free"
mkdir -p "$(dirname "$output")"
emcc -std=c++20 -O2 -DNDEBUG \
  -Wall -Wextra \
  -ffp-contract=off -fno-fast-math \
  -fno-exceptions -fno-rtti -fno-threadsafe-statics \
  -I"$root" -I"$root/include" \
  "$@" \
  --no-entry -sSTANDALONE_WASM -sEXPORTED_FUNCTIONS="$exports" \
  -sTOTAL_STACK=262144 -sINITIAL_MEMORY=2097152 -sALLOW_MEMORY_GROWTH=0 \
  -o "$output.tmp.wasm"
mv "$output.tmp.wasm" "$output"
