#!/usr/bin/env bash
# Runs a Python test script the way a screen reader sees a desktop: on a
# private X server (Xvfb, display picked by the server itself), in a private
# session bus with the accessibility bus started, Qt programs exporting their
# widgets over AT-SPI. Everything started here is ended here.
#
#   run_under_display.sh SCRIPT.py [ARGS...]
#
# The script runs under Debian's /usr/bin/python3, which has pyatspi; this
# folder is on its PYTHONPATH, so it can `import atspi_driver`.
#
# Exit status: the script's; 77 (skipped) when Xvfb, D-Bus or pyatspi are
# missing on this machine, unless CI=true, where a missing tool fails (1).
set -uo pipefail

readonly here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly python=/usr/bin/python3

if [ $# -lt 1 ]; then
  echo "usage: $(basename "$0") SCRIPT.py [ARGS...]" >&2
  exit 2
fi

missing=()
command -v Xvfb >/dev/null || missing+=("Xvfb (package xvfb)")
command -v dbus-run-session >/dev/null || missing+=("dbus-run-session (package dbus)")
command -v dbus-send >/dev/null || missing+=("dbus-send (package dbus)")
[ -x /usr/libexec/at-spi-bus-launcher ] || missing+=("the accessibility bus (package at-spi2-core)")
"$python" -c 'import pyatspi' 2>/dev/null || missing+=("pyatspi for $python (package python3-pyatspi)")
if [ ${#missing[@]} -gt 0 ]; then
  for tool in "${missing[@]}"; do echo "run_under_display: missing: $tool" >&2; done
  if [ "${CI:-}" = true ]; then
    echo "run_under_display: CI must run the accessibility tests; install them with scripts/install-deps.sh" >&2
    exit 1
  fi
  echo "run_under_display: skipped" >&2
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/zv-a11y.XXXXXX") || exit 1
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

# Xvfb writes the display number it took to the pipe once it accepts
# clients; it is the pipe's only writer, so a server that dies early ends the
# read with nothing instead of leaving it waiting.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 \
  3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
read -r -t 30 display <"$work/displayfd"
if [ -z "$display" ]; then
  echo "run_under_display: Xvfb did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi

# A private home for the programs under test: their settings and caches go
# there, never into the user's.
mkdir -m 700 "$work/home" "$work/runtime"
export DISPLAY=":$display"
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/home/.config"
export XDG_CACHE_HOME="$work/home/.cache"
export XDG_DATA_HOME="$work/home/.local/share"
export XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export QT_ACCESSIBILITY=1
export NO_AT_BRIDGE=0
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER
export PYTHONPATH="$here${PYTHONPATH:+:$PYTHONPATH}"
export PYTHONDONTWRITEBYTECODE=1

# dbus-run-session ends the session bus when the script ends. The bus is
# asked for the accessibility bus address first, which starts the
# accessibility bus (and its launcher) before any program looks for it. The
# launcher would outlive the session bus until the X server goes, so it is
# ended by its process id, and waited for. The buses' chatter goes to a log,
# shown only when the run fails.
dbus-run-session -- bash -c '
  dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress >/dev/null || {
    echo "run_under_display: the accessibility bus did not start" >&3
    exit 1
  }
  launcher=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID string:org.a11y.Bus |
    awk "{ print \$2 }")
  "$0" "$@" 2>&3
  status=$?
  if [ -n "$launcher" ] && kill "$launcher" 2>/dev/null; then
    for _ in $(seq 100); do kill -0 "$launcher" 2>/dev/null || break; sleep 0.05; done
  fi
  exit $status
' "$python" "$@" 3>&2 2>"$work/buses.log"
status=$?
if [ $status -ne 0 ] && [ -s "$work/buses.log" ]; then
  echo "run_under_display: the session and accessibility buses said:" >&2
  sed 's/^/  /' "$work/buses.log" >&2
fi
exit $status
