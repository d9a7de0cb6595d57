#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a while on a copy of its seed
# corpus (fuzz/corpus/<target without _fuzzer>/), so that runs never grow the
# committed corpus. Any crash, leak or sanitizer report fails the script.
#   scripts/fuzz.sh [seconds-per-target]     (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
scripts/build.sh fuzz
shopt -s nullglob
targets=(build-fuzz/bin/*_fuzzer)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no fuzz targets built" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in "${targets[@]}"; do
  name=$(basename "$target")
  corpus="$work/${name%_fuzzer}"
  mkdir -p "$corpus"
  seeds="fuzz/corpus/${name%_fuzzer}"
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "-- $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=0 -artifact_prefix="$work/" \
    "$corpus" 2>"$work/$name.log" || { tail -50 "$work/$name.log"; echo "fuzz: $name failed" >&2; exit 1; }
  grep -E '^(Done|#[0-9]+ +DONE)' "$work/$name.log" | tail -1 || true
done
