#!/bin/sh
# Installs what is missing, builds, writes a folder of demo photographs and starts the program.
set -e
cd "$(dirname "$0")"
. tools/setup.sh
if [ ! -d build/demo ]; then
  build/bin/qct samples build/demo > /dev/null
  echo "Demo photographs written to build/demo"
fi
# The import dialog opens in the working folder: the demo photographs are one click away.
program="$(pwd)/build/bin/QuorviCameraTool"
cd build/demo
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
  echo "No display found: starting the program on a virtual X server."
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$program" "$@"
fi
exec "$program" "$@"
