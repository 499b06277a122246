#!/usr/bin/env bash
# Opens the player: run-player.sh PLAYER RECORDING. Without a display (a
# server, a container, a session over SSH) it first writes a picture of the
# player window showing the recording, so the user sees that it works, then
# runs the player under a virtual X server.
set -euo pipefail
player=$1
recording=$2
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  bin=$(dirname "$player")
  picture="$(cd "$bin/.." && pwd)/demo-window.png"
  echo "No display found."
  if QT_QPA_PLATFORM=offscreen "$bin/pelix" render "$recording" 1 --window -o "$picture"; then
    echo "A picture of the player window showing $(basename "$recording") is in: $picture"
  fi
  echo "Running the player under a virtual X server (xvfb-run); stop it with Ctrl+C."
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$player" "$recording"
fi
exec "$player" "$recording"
