#!/usr/bin/env bash
# Runs a program against a private PulseAudio server whose default sink is a
# null sink and whose default source is that sink's monitor: what the program
# plays, it hears. The server lives in its own runtime folder and is stopped
# afterwards. Without PulseAudio the run is skipped (exit 77), except in CI,
# where the project's scripts install it and a missing server is a failure.
#   run_with_private_pulse.sh PROGRAM [ARGS...]
set -euo pipefail
if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
  if [ "${CI:-}" = true ]; then
    echo "PulseAudio (pulseaudio, pactl) is missing; scripts/install-deps.sh installs it" >&2
    exit 1
  fi
  echo "skipped: PulseAudio is not installed, so the real sound path cannot be tested here"
  exit 77
fi

runtime=$(mktemp -d)
server_pid=
cleanup() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$runtime HOME=$runtime
export PULSE_SERVER=unix:$runtime/pulse.sock
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --log-target=stderr \
  -L "module-native-protocol-unix socket=$runtime/pulse.sock auth-anonymous=1" \
  -L "module-null-sink sink_name=zvtest_speaker rate=8000 channels=1" \
  -L "module-remap-source master=zvtest_speaker.monitor source_name=zvtest_microphone" \
  2>"$runtime/server.log" &
server_pid=$!

# Wait until the server answers (or has died).
for _ in $(seq 100); do
  if pactl info >/dev/null 2>&1; then break; fi
  if ! kill -0 "$server_pid" 2>/dev/null; then
    echo "the private PulseAudio server did not start:" >&2
    cat "$runtime/server.log" >&2
    exit 1
  fi
  sleep 0.1
done
pactl info >/dev/null
pactl set-default-sink zvtest_speaker
pactl set-default-source zvtest_microphone

"$@"
