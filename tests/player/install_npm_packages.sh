#!/usr/bin/env bash
# Installs the browser tests' npm packages (puppeteer-core, selenium-webdriver),
# pinned by package-lock.json, into tests/player/node_modules with `npm ci`,
# unless what is there already matches the lock file. Called by
# scripts/install-deps.sh; without network the browser tests then say what
# is missing (skipped, or failed in CI).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# Every package of the lock file at its locked version?
if command -v node >/dev/null && node -e '
  const fs = require("fs");
  const lock = JSON.parse(fs.readFileSync(process.argv[1] + "/package-lock.json", "utf8"));
  for (const [where, entry] of Object.entries(lock.packages)) {
    if (!where) continue;
    const file = process.argv[1] + "/" + where + "/package.json";
    if (!fs.existsSync(file) || JSON.parse(fs.readFileSync(file, "utf8")).version !== entry.version) process.exit(1);
  }' "$here"; then
  exit 0
fi
if ! command -v npm >/dev/null; then
  echo "install_npm_packages: npm not found; the browser tests cannot run" >&2
  exit 1
fi
(cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
