#!/usr/bin/env bash
# Installs playwright-core, pinned by package-lock.json, into DIR for the
# browser tests (npm ci), unless the locked version is already there. Without
# npm or a network it leaves DIR as it is and says why: the browser tests
# then skip (or fail in CI) with the reason.
#   tests/player/install_playwright.sh DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
mkdir -p "$dir"
locked=$(sed -n '/"node_modules\/playwright-core"/,/}/s/.*"version": "\([^"]*\)".*/\1/p' "$here/package-lock.json")
installed=$(sed -n 's/^  "version": "\([^"]*\)".*/\1/p' "$dir/node_modules/playwright-core/package.json" 2>/dev/null || true)
if [ -n "$locked" ] && [ "$installed" = "$locked" ]; then
  exit 0
fi
if ! command -v npm >/dev/null; then
  echo "install_playwright: npm not found; the browser tests will be skipped (install npm)" >&2
  exit 0
fi
cp "$here/package.json" "$here/package-lock.json" "$dir/"
if ! (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error); then
  echo "install_playwright: npm ci failed; the browser tests will be skipped" >&2
fi
exit 0
