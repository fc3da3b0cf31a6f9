#!/bin/sh
# Installs what is missing, builds, writes a folder of demo photographs and starts the program.
set -e
cd "$(dirname "$0")"
. tools/setup.sh
if [ ! -d build/demo ]; then
  build/bin/qct samples build/demo > /dev/null
  echo "Demo photographs written to build/demo"
fi
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
  echo "No display found: starting the program on a virtual X server."
  exec xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/QuorviCameraTool "$@"
fi
exec build/bin/QuorviCameraTool "$@"
