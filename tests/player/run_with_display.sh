#!/usr/bin/env bash
# Runs a program on a private X server (Xvfb, display picked by the server
# itself), for browsers that need a display (WebKitGTK's MiniBrowser).
# Without Xvfb the run is skipped (77), except in CI, where it fails.
#   run_with_display.sh PROGRAM [ARGS...]
set -uo pipefail
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is missing (package xvfb; scripts/install-deps.sh installs it)" >&2
  [ "${CI:-}" = true ] && exit 1
  exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/zv-display.XXXXXX") || exit 1
xvfb_pid=
finish() {
  local status=$?
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
# Xvfb writes the display it took to the pipe once it accepts clients.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
read -r -t 30 display <"$work/displayfd"
if [ -z "$display" ]; then
  echo "run_with_display: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$display"
"$@"
