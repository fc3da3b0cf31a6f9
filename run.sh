#!/bin/sh
# Installs what is missing, builds and starts the program.
set -e
cd "$(dirname "$0")"
. tools/setup.sh
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
  echo "No display found: starting the program on a virtual X server."
  exec xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/QuorviCameraTool "$@"
fi
exec build/bin/QuorviCameraTool "$@"
