// What the player's tests need from the machine, and what happens when it is
// missing: in CI (CI=true) the test fails with the reason; elsewhere it is
// skipped (exit status 77, which CTest reports as skipped) with the reason.
import { existsSync } from 'node:fs';

export const SKIP_STATUS = 77;

export function inCi() {
  return /^(1|true|yes)$/i.test(process.env.CI || '');
}

// Ends the process when `what` is missing.
export function require(condition, what) {
  if (condition) return;
  if (inCi()) {
    console.error(`FAILED: ${what} (required in CI)`);
    process.exit(1);
  }
  console.error(`SKIPPED: ${what}`);
  process.exit(SKIP_STATUS);
}

export function requireFiles(paths, what) {
  const missing = paths.filter((p) => !existsSync(p));
  require(missing.length === 0, `${what}: missing ${missing.join(', ')}`);
}

// --name value pairs of the command line.
export function options(argv = process.argv.slice(2)) {
  const result = {};
  for (let i = 0; i + 1 < argv.length; i += 2) {
    if (!argv[i].startsWith('--')) throw new Error(`unexpected argument ${argv[i]}`);
    result[argv[i].slice(2)] = argv[i + 1];
  }
  return result;
}
