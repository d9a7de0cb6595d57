#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the default build,
# the same tests under AddressSanitizer + UndefinedBehaviorSanitizer, the
# codecs, the engine and zvsa built for arm64 and run under qemu against the
# default build (scripts/test-arm64.sh), the Debian packages built, checked
# by lintian and run unpacked (scripts/test-packages.sh), and a short run of
# every fuzz target.
#   scripts/test.sh              everything
#   ZV_FUZZ_SECONDS=N            seconds per fuzz target (default 30)
#   ZV_SKIP_SANITIZE=1 / ZV_SKIP_PACKAGES=1 / ZV_SKIP_FUZZ=1 / ZV_SKIP_ARM64=1
#                                leave a stage out (local use)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== default build"
scripts/build.sh default
ctest --preset default -j "$(nproc)"

if [ "${ZV_SKIP_PACKAGES:-0}" != 1 ]; then
  echo "== Debian packages"
  scripts/test-packages.sh
fi

if [ "${ZV_SKIP_SANITIZE:-0}" != 1 ]; then
  echo "== sanitizer build (ASan + UBSan)"
  scripts/build.sh sanitize
  ctest --preset sanitize -j "$(nproc)"
fi

if [ "${ZV_SKIP_ARM64:-0}" != 1 ]; then
  echo "== arm64 (cross build under qemu-aarch64)"
  scripts/test-arm64.sh build
fi

if [ "${ZV_SKIP_FUZZ:-0}" != 1 ]; then
  echo "== fuzz targets"
  scripts/fuzz.sh "${ZV_FUZZ_SECONDS:-30}"
fi
echo "== all tests passed"
