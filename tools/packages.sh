#!/bin/sh
# Installs the Debian packages the build, the program and the tests need (only the missing
# ones). Sourced from the repository root by tools/setup.sh and tools/test_sanitizers.sh.
PACKAGES="cmake ninja-build g++ clang python3 pkg-config
  qtbase5-dev qttools5-dev qttools5-dev-tools libqt5svg5-dev libqt5charts5-dev
  libqt5datavisualization5-dev libqt5x11extras5-dev libquazip1-qt5-dev libbenchmark-dev
  qttranslations5-l10n fonts-noto-cjk xvfb xauth libgl1-mesa-dri libglx-mesa0
  libreoffice-writer-nogui poppler-utils"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing:$missing"
  $SUDO apt-get update
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
fi
