#!/bin/sh
# Installs the Debian packages the build, the program and the tests need (only the missing
# ones), then configures and builds into build/. Sourced by run.sh and test.sh.
set -e
. tools/packages.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
