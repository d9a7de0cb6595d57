#!/usr/bin/env bash
# Configures and builds one or more presets: default, sanitize, fuzz.
#   scripts/build.sh [preset...]      (default: "default")
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(default)
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
