#!/usr/bin/env bash
# Opens the player; without a display (a server or a container) it starts a
# virtual one so the command still works.
set -euo pipefail
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running the player under a virtual X server (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$@"
fi
exec "$@"
